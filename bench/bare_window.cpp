// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The baseline for whole-process figures: an empty Qt window of the intro
// screen's size that ends after its first paint, printing its peak memory.
#include <cstdio>

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <QWidget>

class Bare : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override
    {
        if (done_)
            return;
        done_ = true;
        QTimer::singleShot(0, [] {
            QFile status(QStringLiteral("/proc/self/status"));
            if (status.open(QIODevice::ReadOnly))
                for (const QByteArray& line : status.readAll().split('\n'))
                    if (line.startsWith("VmHWM:"))
                        std::printf("%s\n", line.simplified().constData());
            QCoreApplication::quit();
        });
    }

private:
    bool done_ = false;
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Bare w;
    w.setWindowTitle(QStringLiteral("Form1"));
    w.resize(778, 487);
    w.show();
    return app.exec();
}
