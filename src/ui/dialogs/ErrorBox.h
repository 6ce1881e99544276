#pragma once
// The plain error box: a caption, a text, the error icon and OK only. For the
// errors that leave the user nothing to decide, such as a missing hook
// library. By default it is a modal QMessageBox; tests put an ErrorBoxSink
// in its place to see what would have been shown.

#include <QString>

class QWidget;

namespace k4812 {

class ErrorBoxSink {
public:
    virtual ~ErrorBoxSink() = default;
    virtual void show(const QString& caption, const QString& text, QWidget* owner) = 0;
};

// Puts `sink` in place for its lifetime, then restores the previous one.
class ScopedErrorBoxSink {
public:
    explicit ScopedErrorBoxSink(ErrorBoxSink& sink);
    ~ScopedErrorBoxSink();
    ScopedErrorBoxSink(const ScopedErrorBoxSink&) = delete;
    ScopedErrorBoxSink& operator=(const ScopedErrorBoxSink&) = delete;

private:
    ErrorBoxSink* m_previous;
};

// Shows the box (texts as given; the caller translates them) and returns
// when the user has closed it.
void ShowErrorBox(const QString& caption, const QString& text, QWidget* owner = nullptr);

} // namespace k4812
