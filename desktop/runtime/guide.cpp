// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "guide.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "accessible.h"

namespace tc {

namespace {

QPointer<QWidget> guide;
QPointer<QTextBrowser> guideText;

// The guide's text as assistive technology gets it: a read-only text with a
// caret, read a line at a time as the arrow keys move it. The toolkit shows
// a text browser as one static label, which a screen reader does not walk.
class GuideTextInterface : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit GuideTextInterface(QTextBrowser* b) : QAccessibleWidget(b, QAccessible::EditableText) {}
    QTextBrowser* browser() const { return static_cast<QTextBrowser*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = s.multiLine = s.selectableText = true;
        return s;
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? text(0, characterCount()) : QAccessibleWidget::text(t);
    }

    // The caret's position, and the document's text with a line feed between
    // paragraphs, count the same characters.
    QTextCursor at(int offset) const
    {
        QTextCursor c(browser()->document());
        c.setPosition(qBound(0, offset, characterCount()));
        return c;
    }
    QString text(int start, int end) const override
    {
        return browser()->document()->toPlainText().mid(start, end - start);
    }
    int characterCount() const override { return browser()->document()->characterCount() - 1; }
    int cursorPosition() const override { return browser()->textCursor().position(); }
    void setCursorPosition(int position) override { browser()->setTextCursor(at(position)); }
    // A line as it is shown, wrapped to the window's width.
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override
    {
        if (type != QAccessible::LineBoundary)
            return QAccessibleTextInterface::textAtOffset(offset, type, start, end);
        QTextCursor c = at(offset);
        c.movePosition(QTextCursor::StartOfLine);
        *start = c.position();
        c.movePosition(QTextCursor::EndOfLine);
        *end = c.position() + (c.atBlockEnd() && c.position() < characterCount() ? 1 : 0);
        return text(*start, *end);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override
    {
        if (type != QAccessible::LineBoundary)
            return QAccessibleTextInterface::textBeforeOffset(offset, type, start, end);
        textAtOffset(offset, type, start, end);
        if (*start == 0) {
            *end = 0;
            return QString();
        }
        return textAtOffset(*start - 1, type, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override
    {
        if (type != QAccessible::LineBoundary)
            return QAccessibleTextInterface::textAfterOffset(offset, type, start, end);
        textAtOffset(offset, type, start, end);
        if (*end >= characterCount()) {
            *start = *end = characterCount();
            return QString();
        }
        return textAtOffset(*end, type, start, end);
    }
    void selection(int index, int* start, int* end) const override
    {
        const QTextCursor c = browser()->textCursor();
        *start = index == 0 && c.hasSelection() ? c.selectionStart() : 0;
        *end = index == 0 && c.hasSelection() ? c.selectionEnd() : 0;
    }
    int selectionCount() const override { return browser()->textCursor().hasSelection() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { setCursorPosition(cursorPosition()); }
    void setSelection(int, int start, int end) override
    {
        QTextCursor c = at(start);
        c.setPosition(at(end).position(), QTextCursor::KeepAnchor);
        browser()->setTextCursor(c);
    }
    QRect characterRect(int offset) const override
    {
        const QRect r = browser()->cursorRect(at(offset));
        return QRect(browser()->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return browser()->cursorForPosition(browser()->viewport()->mapFromGlobal(point)).position();
    }
    void scrollToSubstring(int start, int end) override
    {
        setSelection(0, start, end);
        browser()->ensureCursorVisible();
    }
    QString attributes(int offset, int* start, int* end) const override
    {
        *start = offset;
        *end = offset + 1;
        return QString();
    }
};

QAccessibleInterface* guideFactory(const QString&, QObject* object)
{
    if (object && object == guideText)
        return new GuideTextInterface(guideText);
    return nullptr;
}

} // namespace

QWidget* guideWindow() { return guide; }

QWidget* showGuide()
{
    if (!guide) {
        static const bool installed = [] {
            installAccessibility();
            QAccessible::installFactory(guideFactory);
            return true;
        }();
        Q_UNUSED(installed);
        guide = new QWidget;
        guide->setAttribute(Qt::WA_DeleteOnClose);
        guide->setAttribute(Qt::WA_QuitOnClose, false);
        guide->setWindowTitle(QStringLiteral("Guida di tracciacurve"));
        setAccessibleRole(guide, QAccessible::Window);
        // The text fills the window, as when it was the window itself.
        auto* layout = new QVBoxLayout(guide);
        layout->setContentsMargins(0, 0, 0, 0);
        guideText = new QTextBrowser(guide);
        guideText->setAccessibleName(QStringLiteral("Guida"));
        // A caret the arrow keys move, which a screen reader follows.
        guideText->setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);
        guideText->setOpenExternalLinks(true);
        // Text to read at length: larger than the screens' small face.
        QFont text = guideText->font();
        text.setPointSizeF(10.5);
        guideText->setFont(text);
        guideText->setSource(QUrl(QStringLiteral("qrc:/guide/guida.md")), QTextDocument::MarkdownResource);
        layout->addWidget(guideText);
        guideText->setFocus();
        auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), guide);
        close->setContext(Qt::WindowShortcut);
        QObject::connect(close, &QShortcut::activated, guide, &QWidget::close);
        guide->resize(760, 640);
    }
    guide->show();
    guide->raise();
    guide->activateWindow();
    return guide;
}

void addGuideKey(QWidget* screen)
{
    auto* key = new QShortcut(QKeySequence(Qt::Key_F1), screen);
    key->setContext(Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, [] { showGuide(); });
}

} // namespace tc
