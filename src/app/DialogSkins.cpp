#include "app/DialogSkins.h"

#include "ui/skin/ImageDataBase.h"

namespace k4812 {

void prefetchDialogSkins()
{
    // Name and skin group, roughly in the order the dialogs are met: the
    // message and key dialogs, help, then the macro manager.
    static constexpr const char* kImages[][2] = {
        {"messagedialog.png", "dialog"}, {"warning-icon.png", "dialog"},  {"DLG-OK-1.png", "dialog"},
        {"DLG-OK-2.png", "dialog"},      {"DLG-OK-3.png", "dialog"},      {"close-1.png", "dialog"},
        {"close-2.png", "dialog"},       {"close-3.png", "dialog"},       {"HelpPage-back.png", "dialog"},
        {"macrodialog.png", "dialog"},   {"arrow-up.png", "dialog"},      {"arrow-down.png", "dialog"},
        {"startrecord-1.png", "dialog"}, {"startrecord-2.png", "dialog"}, {"stoprecord-1.png", "dialog"},
        {"stoprecord-2.png", "dialog"},  {"error-icon.png", "dialog"},    {"keydown.png", "dialog"},
        {"keyup.png", "dialog"},         {"min-1.png", ""},               {"min-2.png", ""},
        {"min-3.png", ""},               {"radio-unchecked.png", ""},     {"radio-checked.png", ""},
    };
    QList<TImageDataBase::ImageRef> images;
    for (const auto& image : kImages)
        images.append({QLatin1String(image[0]), QLatin1String(image[1])});
    imageDataBase().prefetch(images);
}

} // namespace k4812
