// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "savefile.h"

#include <QSaveFile>

namespace tc {

QString writeFileWhole(const QString& fileName, const std::function<QString(QIODevice&)>& write)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    QString failure = write(file);
    // Qt 6.4's commit() reports success when its last flush fails, and then
    // puts an empty file in place of the old one: flush and check first.
    if (file.flush() && failure.isEmpty())
        return file.commit() ? QString() : file.errorString();
    // A write cut short by a full disk or a quota carries no reason: the
    // system gives it ("No space left on device") only to the next try. The
    // bytes that did not fit wait in the buffer for that try; when none do,
    // one byte more makes it. The device's reason says more than the writer's.
    if (file.error() == QFileDevice::NoError)
        file.putChar('\0');
    if (!file.flush() || file.error() != QFileDevice::NoError)
        failure = file.errorString();
    file.cancelWriting(); // the temporary file goes with `file`
    return failure;
}

} // namespace tc
