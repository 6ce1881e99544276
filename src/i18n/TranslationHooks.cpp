#include "i18n/TranslationHooks.h"

#include <algorithm>
#include <vector>

namespace k4812 {

namespace {

struct Entry {
    int id;
    TranslationHook hook;
};

struct Hooks {
    int nextId = 1;
    std::vector<Entry> scenes;
    std::vector<Entry> windows;
};

Hooks& hooks()
{
    static Hooks all;
    return all;
}

int add(std::vector<Entry>& list, TranslationHook hook)
{
    const int id = hooks().nextId++;
    list.push_back(Entry{id, std::move(hook)});
    return id;
}

void runAll(const std::vector<Entry>& list)
{
    // A copy, so that hooks may register or remove hooks while they run.
    const std::vector<Entry> snapshot = list;
    for (const Entry& entry : snapshot) {
        if (entry.hook)
            entry.hook();
    }
}

} // namespace

int addSceneRetranslator(TranslationHook hook)
{
    return add(hooks().scenes, std::move(hook));
}

int addTranslatedWindow(TranslationHook formWalk)
{
    return add(hooks().windows, std::move(formWalk));
}

void removeTranslationHook(int id)
{
    for (std::vector<Entry>* list : {&hooks().scenes, &hooks().windows})
        std::erase_if(*list, [id](const Entry& e) { return e.id == id; });
}

void retranslateScenes()
{
    runAll(hooks().scenes);
}

void walkTranslatedWindows()
{
    runAll(hooks().windows);
}

} // namespace k4812
