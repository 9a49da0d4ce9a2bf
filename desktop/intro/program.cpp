// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "program.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "calibrate/form2.h"
#include "form1.h"
#include "plot/form4.h"
#include "runtime/program.h"
#include "runtime/screen.h"

void setUpApplication(QApplication& app)
{
    // The program speaks Italian and writes numbers with the decimal comma
    // whatever the machine's own locale is.
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);

    tc::useClassicFonts();

    QApplication::setApplicationName(QString::fromLatin1(tc::applicationTitle));
    QApplication::setApplicationVersion(QStringLiteral(TC_VERSION));
    QApplication::setOrganizationName(QString::fromLatin1(tc::applicationTitle));
    QApplication::setDesktopFileName(QStringLiteral("it.tracciacurve.tracciacurve"));
    QIcon icon;
    // The sizes a window's title bar and task switcher use; the desktop
    // takes the larger ones from the installed icon theme.
    for (int size : {16, 32, 48, 64})
        icon.addFile(QStringLiteral(":/icons/tracciacurve-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
}

void startProgram()
{
    Form2::openPlot = [] { Form4::instance().Show(); };
    Form1::instance().Show();
}
