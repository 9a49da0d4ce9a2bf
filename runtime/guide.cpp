// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "guide.h"

#include <QPointer>
#include <QShortcut>
#include <QTextBrowser>

namespace tc {

namespace {

QPointer<QTextBrowser> guide;

} // namespace

QWidget* guideWindow() { return guide; }

QWidget* showGuide()
{
    if (!guide) {
        guide = new QTextBrowser;
        guide->setAttribute(Qt::WA_DeleteOnClose);
        guide->setAttribute(Qt::WA_QuitOnClose, false);
        guide->setWindowTitle(QStringLiteral("Guida di tracciacurve"));
        guide->setOpenExternalLinks(true);
        // Text to read at length: larger than the screens' small face.
        QFont text = guide->font();
        text.setPointSizeF(10.5);
        guide->setFont(text);
        guide->setSource(QUrl(QStringLiteral("qrc:/guide/guida.md")), QTextDocument::MarkdownResource);
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
