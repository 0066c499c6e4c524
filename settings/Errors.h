#pragma once

#include <QString>
#include <stdexcept>

namespace nerubato {

// Every error the user may see carries its final Japanese text; the general
// error box shows what() decoded as UTF-8.
class Error : public std::runtime_error
{
public:
    explicit Error(const QString &text) : std::runtime_error(text.toStdString()), m_text(text) {}
    const QString &text() const { return m_text; }

private:
    QString m_text;
};

class FileCreateError : public Error
{
public:
    explicit FileCreateError(const QString &fileName)
        : Error(QStringLiteral("ﾌｧｲﾙ %1 を作成できません").arg(fileName))
    {
    }
};

class FileOpenError : public Error
{
public:
    explicit FileOpenError(const QString &fileName)
        : Error(QStringLiteral("ﾌｧｲﾙ %1 は開けません").arg(fileName))
    {
    }
};

// A file that exists could not be removed.
class FileDeleteError : public Error
{
public:
    explicit FileDeleteError(const QString &fileName)
        : Error(QStringLiteral("ﾌｧｲﾙ %1 を削除できません").arg(fileName))
    {
    }
};

class ListIndexError : public Error
{
public:
    ListIndexError() : Error(QStringLiteral("ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています")) {}
};

// A stepper could not read its field's text.
class ConvertError : public Error
{
public:
    using Error::Error;
    static ConvertError notTime(const QString &t)
    {
        return ConvertError(QStringLiteral("'%1' は時刻ではありません").arg(t));
    }
    static ConvertError notDate(const QString &t)
    {
        return ConvertError(QStringLiteral("'%1' は日付ではありません").arg(t));
    }
    static ConvertError notInteger(const QString &t)
    {
        return ConvertError(QStringLiteral("'%1' は整数ではありません").arg(t));
    }
};

} // namespace nerubato
