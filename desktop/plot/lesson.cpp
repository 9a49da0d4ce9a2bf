// SPDX-FileCopyrightText: 2026 the tracciacurve authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "lesson.h"

#include <QFile>

namespace lesson {

ReadResult readFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString().toStdU16String();
    // One byte past the bound is enough to know the file is too large,
    // whatever its size claims to be (a pipe claims none).
    const QByteArray bytes = file.read(maxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return file.errorString().toStdU16String();
    return read(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

} // namespace lesson
