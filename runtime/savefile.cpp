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
    // The device's own reason ("No space left on device") says more than
    // the writer's.
    if (!failure.isEmpty() && file.error() != QFileDevice::NoError)
        failure = file.errorString();
    // Qt 6.4's commit() reports success when its last flush fails, and then
    // puts an empty file in place of the old one: flush and check first.
    if (failure.isEmpty() && !file.flush())
        failure = file.errorString();
    if (!failure.isEmpty()) {
        file.cancelWriting(); // the temporary file goes with `file`
        return failure;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace tc
