#include "platform/BackgroundWork.h"

#include "storage/io/FileWait.h"
#include "storage/io/StepWatch.h"
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
#include <chrono>
#include <exception>
#include <thread>
#include <tuple>

namespace BackgroundWork {

const char* const kSavingNote = "Saving...";
const char* const kReadingNote = "Reading...";
const char* const kStillWaitingNote =
    "Still waiting for the data files.\n\nThe computer has not finished a file operation for 5 seconds.";
const char* const kWritingNote =
    "Still waiting for the data files.\n\nThe change has begun to be written and cannot be stopped now: "
    "the register completes it by itself as soon as the file answers.";
const char* const kGivingUpNote =
    "Giving up.\n\nNothing is stored. The register goes on as soon as the file answers the call it is waiting for.";
const char* const kStoppingNote = "Stopping.\n\nThe register goes on as soon as the file answers the call it is waiting for.";

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
    Waiting(QWidget* window, const char* noteText, StepWatch& watch, const OwnProgress* own)
        : window_(window), noteText_(noteText), watch_(watch), own_(own), started_(std::chrono::steady_clock::now())
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
            connect(timer, &QTimer::timeout, this, [this, step = step] { TakeStep(step == 1 ? 1 : step_ + 1); });
            timer->start(delay);
        }
    }
    ~Waiting() override
    {
        qApp->removeEventFilter(this);
        delete note_.data();
    }

    QLabel* note() const { return note_; }
    // Step 1 shows the note; every later one says that the work still waits
    // and, while it can still be given up, asks whether to keep waiting:
    // "Yes" asks again after the same interval, "No" gives the step up.
    void TakeStep(int step)
    {
        if (step <= step_ || !note_ || done_ || asking_)
            return;
        step_ = step;
        if (step == 1) {
            Show(noteText_);
            return;
        }
        if (own_ ? stopped_ : watch_.writing() || watch_.givenUp()) {
            Show(own_ ? kStoppingNote : watch_.writing() ? kWritingNote : kGivingUpNote);
            return;
        }
        Show(kStillWaitingNote);
        const auto waited =
            std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started_).count();
        const std::string file = watch_.file();
        asking_ = true;
        const bool keep = FileWait::KeepWaitingFor(file.empty() ? "the data files" : file, waited);
        asking_ = false;
        if (done_ || !note_)
            return;
        if (keep) {
            stillTimer_.start(stillWaitingDelayMs);
        } else if (own_) {
            Stop();
            Show(kStoppingNote);
        } else {
            Show(watch_.giveUp() ? kGivingUpNote : kWritingNote);
        }
    }
    int step() const { return step_; }
    void Done() { done_ = true; }

    // Work with its own progress: it advanced, so the question waits a whole
    // interval again, and its own note comes back in place of a waiting text.
    void Advanced()
    {
        if (!own_ || stopped_ || done_ || asking_)  // the answer decides what comes next
            return;
        started_ = std::chrono::steady_clock::now();
        stillTimer_.start(stillWaitingDelayMs);
        if (step_ > 1) {
            step_ = 1;
            Show(noteText_);
        }
    }
    // Work with its own progress ends at its next block; a call it waits in
    // ends as soon as it comes back, unless a cache is being written then.
    void Stop()
    {
        if (!own_ || stopped_)
            return;
        stopped_ = true;
        watch_.giveUp();
        own_->stop();
    }

protected:
    bool eventFilter(QObject* target, QEvent* event) override
    {
        if (!isInputTo(target, event->type(), window_))
            return false;
        event->ignore();  // a close that is ignored leaves the window open
        return true;
    }

private:
    void Show(const char* text)
    {
        if (own_) {
            own_->show(text);
            return;
        }
        note_->setText(text);
        const int width = text == noteText_ ? 220 : 520;
        note_->setFixedWidth(std::min(width, std::max(120, window_->width() - 40)));
        note_->setFixedHeight(note_->heightForWidth(note_->width()));
        note_->move((window_->width() - note_->width()) / 2, (window_->height() - note_->height()) / 2);
        note_->raise();
        note_->show();
    }

    QWidget* window_;
    const char* noteText_;
    StepWatch& watch_;
    const OwnProgress* own_;
    std::chrono::steady_clock::time_point started_;
    bool done_ = false;
    bool stopped_ = false;
    bool asking_ = false;  // the question is up
    QPointer<QLabel> note_;
    QTimer noteTimer_;
    QTimer stillTimer_;
    int step_ = 0;
};

Waiting* running = nullptr;

}  // namespace

void Run(QWidget* widget, const std::function<void()>& work, const char* noteText)
{
    Run(widget, work, noteText, OwnProgress{});
}

void Run(QWidget* widget, const std::function<void()>& work, const char* noteText, const OwnProgress& own)
{
    // A window not shown yet (being built) has nobody to show a note to, and
    // an event loop inside its constructor would let other work run there.
    if (running || !widget || !qApp || QThread::currentThread() != qApp->thread() || !widget->window()->isVisible()) {
        work();
        return;
    }
    QWidget* window = widget->window();
    StepWatch watch;
    Waiting waiting(window, noteText, watch, own.show ? &own : nullptr);
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
            StepWatch::On watched(watch);
            work();
        } catch (...) {
            thrown = std::current_exception();
        }
        QMetaObject::invokeMethod(&waiting, [&] {
            waiting.Done();
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

void advanced()
{
    if (running)
        running->Advanced();
}

void stop()
{
    if (running)
        running->Stop();
}

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
