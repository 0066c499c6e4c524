#include "Handlers.h"

#include <QKeyEvent>
#include <QWidget>

namespace nerubato {

namespace {

class EscapeCancels : public QObject
{
public:
    EscapeCancels(Platform &platform, QWidget *window, std::function<void()> cancel)
        : QObject(window), m_platform(platform), m_cancel(std::move(cancel))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier)
            return false;
        guarded(m_platform, m_cancel);
        return true;
    }

private:
    Platform &m_platform;
    std::function<void()> m_cancel;
};

} // namespace

void cancelOnEscape(Platform &platform, QWidget *window, std::function<void()> cancel)
{
    new EscapeCancels(platform, window, std::move(cancel));
}

} // namespace nerubato
