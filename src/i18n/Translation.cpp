#include "i18n/Translation.h"

#include <optional>

namespace k4812 {

namespace {

struct ActiveTranslation {
    std::optional<TranslationList> list;
    bool reverting = false;
};

ActiveTranslation& active()
{
    static ActiveTranslation state;
    return state;
}

} // namespace

QString translate(const QString& text)
{
    if (text.isEmpty())
        return QString();
    const ActiveTranslation& state = active();
    if (!state.list)
        return text;
    return state.reverting ? state.list->revert(text) : state.list->translate(text);
}

void setActiveTranslation(const TranslationList& list)
{
    active().list = list;
}

void clearActiveTranslation()
{
    active().list.reset();
}

const TranslationList* activeTranslation()
{
    const ActiveTranslation& state = active();
    return state.list ? &*state.list : nullptr;
}

void setTranslationReverting(bool reverting)
{
    active().reverting = reverting;
}

bool isTranslationReverting()
{
    return active().reverting;
}

} // namespace k4812
