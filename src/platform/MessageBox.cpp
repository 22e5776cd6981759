#include "platform/MessageBox.h"
#include "platform/RecordText.h"

#include <QMessageBox>

namespace {
class QtMessageBox final : public MessageBox::Backend {
public:
    MessageBox::Answer show(QWidget* parent, const QString& text, const QString& caption,
                            MessageBox::Buttons buttons) override
    {
        QMessageBox box(parent);
        box.setWindowTitle(caption);
        box.setText(text);
        box.setIcon(buttons == MessageBox::Buttons::Ok ? QMessageBox::Information : QMessageBox::Question);
        switch (buttons) {
        case MessageBox::Buttons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MessageBox::Buttons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::Yes);
            break;
        case MessageBox::Buttons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Ok);
            break;
        }
        switch (box.exec()) {
        case QMessageBox::Yes: return MessageBox::Answer::Yes;
        case QMessageBox::No: return MessageBox::Answer::No;
        case QMessageBox::Cancel: return MessageBox::Answer::Cancel;
        default: return buttons == MessageBox::Buttons::YesNo ? MessageBox::Answer::No : MessageBox::Answer::Ok;
        }
    }
};

QtMessageBox qtBackend;
MessageBox::Backend* backend = &qtBackend;
}  // namespace

MessageBox::Answer MessageBox::show(QWidget* parent, const std::string& text, Buttons buttons)
{
    return backend->show(parent, RecordText::toQt(text), QString::fromLatin1(caption()), buttons);
}

void MessageBox::setBackend(Backend* b) { backend = b ? b : &qtBackend; }
