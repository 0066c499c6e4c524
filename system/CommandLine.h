#pragma once

#include <QStringList>
#include <QStringView>

namespace nerubato {

// The arguments a Windows program finds in its command line, by the rules of
// Microsoft's C runtime: blanks part arguments outside double quotes; a quote
// opens or closes a quoted part, and "" inside one is a quote; backslashes are
// themselves except before a quote, where each pair is one backslash and an
// odd one makes the quote a character. So `a "" b` is three arguments, the
// second empty. The Linux build splits with these rules too, so that a
// program gets the same arguments from both builds.
QStringList splitArguments(QStringView commandLine);

} // namespace nerubato
