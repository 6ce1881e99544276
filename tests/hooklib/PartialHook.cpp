// A hook library that lacks its mouse functions, for the loading tests.

extern "C" __attribute__((visibility("default"))) int EnableKeyboardHook(void*, void*, int)
{
    return 1;
}

extern "C" __attribute__((visibility("default"))) int DisableKeyboardHook()
{
    return 1;
}
