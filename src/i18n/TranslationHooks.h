#pragma once
// What re-shows texts after a language switch. The core only calls these
// hooks; the window code registers them:
//  - scene re-translators: each re-translates every text of its live scenes
//    through translate(). A switch calls them twice: first with the revert
//    flag set (shown texts go back to English), then with the new list
//    active (English texts become the new language);
//  - translated windows: each runs its window's form walk once the new list
//    is active.
// A hook may add or remove hooks while it runs; the change applies to the
// next call.

#include <functional>

namespace k4812 {

using TranslationHook = std::function<void()>;

// Each returns an id for removeTranslationHook().
int addSceneRetranslator(TranslationHook hook);
int addTranslatedWindow(TranslationHook formWalk);
void removeTranslationHook(int id);

void retranslateScenes();
void walkTranslatedWindows();

} // namespace k4812
