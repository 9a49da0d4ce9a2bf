#include "program.h"

#include <QApplication>
#include <QMessageBox>

namespace tc {

namespace {

void realMessage(const QString& prompt)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(applicationTitle), prompt,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void realEnd()
{
    // The event loop takes no further event once asked to exit; main then
    // returns and the windows go with it.
    QCoreApplication::exit(0);
}

MessageFunction& messageFunction()
{
    static MessageFunction f = realMessage;
    return f;
}

EndFunction& endFunction()
{
    static EndFunction f = realEnd;
    return f;
}

} // namespace

void MsgBox(const QString& prompt) { messageFunction()(prompt); }
void End() { endFunction()(); }

MessageFunction setMessageFunction(MessageFunction f)
{
    MessageFunction old = std::move(messageFunction());
    messageFunction() = f ? std::move(f) : MessageFunction(realMessage);
    return old;
}

EndFunction setEndFunction(EndFunction f)
{
    EndFunction old = std::move(endFunction());
    endFunction() = f ? std::move(f) : EndFunction(realEnd);
    return old;
}

} // namespace tc
