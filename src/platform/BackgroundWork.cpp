#include "platform/BackgroundWork.h"

#include "storage/io/UserPrompt.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QShortcut>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <exception>
#include <thread>
#include <tuple>

namespace BackgroundWork {

const char* const kSavingNote = "Saving...";
const char* const kReadingNote = "Reading...";
const char* const kStillWaitingNote =
    "Still waiting for the data files.\n\nThe computer has not finished a file operation for 5 seconds. "
    "It cannot be stopped halfway: the register goes on by itself as soon as the file answers.";

namespace {

int noteDelayMs = 500;
int stillWaitingDelayMs = 5000;
std::function<void()> startedHook;

// Hands the storage layer's messages and questions from the work's thread to
// the window's thread and waits there for the answer.
class ForwardingPrompt final : public UserPrompt {
public:
    ForwardingPrompt(UserPrompt& inner, QObject* gui) : inner_(inner), gui_(gui) {}
    void showMessage(const std::string& text) override
    {
        onGui([&] { inner_.showMessage(text); });
    }
    bool keepWaiting(const std::string& text) override
    {
        bool answer = true;
        onGui([&] { answer = inner_.keepWaiting(text); });
        return answer;
    }

private:
    void onGui(const std::function<void()>& ask)
    {
        if (QThread::currentThread() == gui_->thread())
            ask();
        else
            QMetaObject::invokeMethod(gui_, ask, Qt::BlockingQueuedConnection);
    }

    UserPrompt& inner_;
    QObject* gui_;
};

// True for an event that is the cashier's input (or a close) to `window`.
bool isInputTo(QObject* target, QEvent::Type type, const QWidget* window)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::Close:
        break;
    default:
        return false;
    }
    if (auto* w = qobject_cast<QWidget*>(target))
        return w->window() == window;
    // A menu command's shortcut reaches its action or shortcut object, which
    // belongs to the window through its menus (pop-ups of their own).
    const auto within = [window](const QObject* o) {
        for (; o; o = o->parent())
            if (o == window)
                return true;
        return false;
    };
    if (auto* action = qobject_cast<QAction*>(target)) {
        const QList<QObject*> users = action->associatedObjects();
        return within(action) || std::any_of(users.begin(), users.end(), within);
    }
    return qobject_cast<QShortcut*>(target) && within(target);
}

// The window's side of one piece of work: its input held back, the note and
// its two steps.
class Waiting final : public QObject {
public:
    Waiting(QWidget* window, const char* noteText) : window_(window), noteText_(noteText)
    {
        qApp->installEventFilter(this);
        note_ = new QLabel(window);
        note_->setObjectName("waiting_note");
        note_->setFrameStyle(QFrame::Box | QFrame::Plain);
        note_->setLineWidth(2);
        note_->setAlignment(Qt::AlignCenter);
        note_->setWordWrap(true);
        note_->setAutoFillBackground(true);
        note_->setMargin(16);
        note_->hide();
        for (auto [timer, step, delay] : {std::tuple{&noteTimer_, 1, noteDelayMs},
                                          std::tuple{&stillTimer_, 2, stillWaitingDelayMs}}) {
            timer->setSingleShot(true);
            connect(timer, &QTimer::timeout, this, [this, step = step] { TakeStep(step); });
            timer->start(delay);
        }
    }
    ~Waiting() override
    {
        qApp->removeEventFilter(this);
        delete note_.data();
    }

    QLabel* note() const { return note_; }
    void TakeStep(int step)
    {
        if (step <= step_ || !note_)
            return;
        step_ = step;
        note_->setText(step == 1 ? noteText_ : kStillWaitingNote);
        const int width = step == 1 ? 220 : 520;
        note_->setFixedWidth(std::min(width, std::max(120, window_->width() - 40)));
        note_->setFixedHeight(note_->heightForWidth(note_->width()));
        note_->move((window_->width() - note_->width()) / 2, (window_->height() - note_->height()) / 2);
        note_->raise();
        note_->show();
    }
    int step() const { return step_; }

protected:
    bool eventFilter(QObject* target, QEvent* event) override
    {
        if (!isInputTo(target, event->type(), window_))
            return false;
        event->ignore();  // a close that is ignored leaves the window open
        return true;
    }

private:
    QWidget* window_;
    const char* noteText_;
    QPointer<QLabel> note_;
    QTimer noteTimer_;
    QTimer stillTimer_;
    int step_ = 0;
};

Waiting* running = nullptr;

}  // namespace

void Run(QWidget* widget, const std::function<void()>& work, const char* noteText)
{
    if (running || !widget || !qApp || QThread::currentThread() != qApp->thread()) {
        work();
        return;
    }
    QWidget* window = widget->window();
    Waiting waiting(window, noteText);
    running = &waiting;
    UserPrompt& before = userPrompt();
    ForwardingPrompt forwarding(before, &waiting);
    setUserPrompt(&forwarding);

    // The hook comes first in the window's queue, before the work can finish.
    if (startedHook)
        QMetaObject::invokeMethod(&waiting, [] {
            if (startedHook)
                startedHook();
        }, Qt::QueuedConnection);
    QEventLoop loop;
    std::exception_ptr thrown;
    bool finished = false;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            thrown = std::current_exception();
        }
        QMetaObject::invokeMethod(&waiting, [&] {
            finished = true;
            loop.quit();
        }, Qt::QueuedConnection);
    });
    while (!finished)
        loop.exec();
    worker.join();

    setUserPrompt(&before);
    running = nullptr;
    if (thrown)
        std::rethrow_exception(thrown);
}

StoreRunner RunnerFor(QWidget* widget, const char* noteText)
{
    QPointer<QWidget> guarded(widget);
    return [guarded, noteText](const std::function<void()>& step) { Run(guarded.data(), step, noteText); };
}

bool busy() { return running != nullptr; }

QLabel* note() { return running ? running->note() : nullptr; }

void setDelays(int noteMs, int stillWaitingMs)
{
    noteDelayMs = noteMs;
    stillWaitingDelayMs = stillWaitingMs;
}

void takeNextStep()
{
    if (running)
        running->TakeStep(running->step() + 1);
}

void setStartedHook(std::function<void()> hook) { startedHook = std::move(hook); }

}  // namespace BackgroundWork
