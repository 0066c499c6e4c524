#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace nerubato {

// Code page 932's tables, all or nothing: false when any character fails.
// On Windows the system's own code page; elsewhere ICU's "windows-31j",
// with the three control codes its table swaps put back, so that both builds
// read and write the same bytes. The rules around the tables (what a
// character is, what stands for a stray byte) are settings/Cp932's.
bool decodeCodePage932(const char *data, qsizetype size, QString &out);
bool encodeCodePage932(QStringView text, QByteArray &out);

} // namespace nerubato
