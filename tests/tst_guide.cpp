// The guide as the build lays it out beside the program: what a browser
// opening it from disk, and Notepad opening the readme, need of its files.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTest>
#include <QUrl>

namespace {

const QDir kGuide(QStringLiteral(NERUBATO_GUIDE_DIR));
const QString kPage = QStringLiteral("index.html");
const QByteArray kBom("\xEF\xBB\xBF");
// What a browser looks for in the first 1024 bytes, and what it fetches.
const QRegularExpression kMetaCharset(QStringLiteral("<meta\\s+charset\\s*=\\s*\"?utf-8\"?\\s*/?>"),
                                      QRegularExpression::CaseInsensitiveOption);
const QRegularExpression kReference(
    QStringLiteral("\\b(?:src|href)\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)')|url\\(\\s*['\"]?([^'\")]*)"),
    QRegularExpression::CaseInsensitiveOption);
// A browser shows a line break of the source as a space: between two Japanese
// characters (kana, kanji, full-width letters, brackets and punctuation) that
// is a stray space. Inline elements are looked through; a message's lines are
// its own, shown as they stand.
const QRegularExpression kInlineTag(QStringLiteral("</?(?:a|code|kbd|strong|em|span)\\b[^>]*>"));
const QRegularExpression
    kPreformatted(QStringLiteral("<(?:div class=\"message\"|pre)[^>]*>.*?</(?:div|pre)>"),
                  QRegularExpression::DotMatchesEverythingOption);
const QRegularExpression kBrokenJapanese(QStringLiteral(
    "[\\x{3000}-\\x{30FF}\\x{3400}-\\x{9FFF}\\x{F900}-\\x{FAFF}\\x{FF00}-\\x{FFEF}]\\n[ \\t]*"
    "[\\x{3000}-\\x{30FF}\\x{3400}-\\x{9FFF}\\x{F900}-\\x{FAFF}\\x{FF00}-\\x{FFEF}]"));

} // namespace

class TestGuide : public QObject
{
    Q_OBJECT

private:
    QByteArray m_page;

    static QByteArray read(const QString &name)
    {
        QFile file(kGuide.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void initTestCase()
    {
        m_page = read(kPage);
        QVERIFY2(!m_page.isEmpty(),
                 qPrintable(kGuide.filePath(kPage) + QStringLiteral(" is missing or empty")));
    }

    void textFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("bomAndCrlf");
        QTest::addColumn<bool>("flowing");
        QTest::newRow("page") << kPage << false << true;
        QTest::newRow("readme") << QStringLiteral("はじめにお読みください.txt") << true << false;
    }

    // Valid UTF-8 throughout; the readme, for every Notepad, opens with the BOM
    // and ends its lines with CR LF only. The page's text flows: no line break
    // of its source stands between two Japanese characters.
    void textFiles()
    {
        QFETCH(QString, name);
        QFETCH(bool, bomAndCrlf);
        QFETCH(bool, flowing);
        const QByteArray bytes = read(name);
        QVERIFY2(!bytes.isEmpty(), qPrintable(name + QStringLiteral(" is missing or empty")));
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8.decode(bytes); // converting runs the decoder
        QVERIFY2(!utf8.hasError() && !text.isEmpty(),
                 qPrintable(name + QStringLiteral(" is not valid UTF-8")));
        if (flowing) {
            QString shown = text;
            shown.replace(kPreformatted, QStringLiteral("<pre/>")).remove(kInlineTag);
            const QRegularExpressionMatch broken = kBrokenJapanese.match(shown);
            QVERIFY2(!broken.hasMatch(),
                     qPrintable(QStringLiteral("a line break shown as a space: ") +
                                shown.mid(broken.capturedStart() - 20, 40).replace(u'\n', u'⏎')));
        }
        if (!bomAndCrlf)
            return;
        QVERIFY2(bytes.startsWith(kBom), "no UTF-8 BOM");
        const qsizetype crlf = bytes.count("\r\n");
        QVERIFY2(crlf > 0 && bytes.count('\r') == crlf && bytes.count('\n') == crlf,
                 "a line end other than CR LF");
    }

    // The encoding is declared where a browser looks for it: in the first 1024 bytes.
    void pageDeclaresUtf8()
    {
        QVERIFY(kMetaCharset.match(QString::fromUtf8(m_page.left(1024))).hasMatch());
    }

    // Every src, href and CSS url() names a file inside guide/ (as the zip and
    // a case-sensitive file system have it) or an id of the page; nothing is
    // fetched from elsewhere and nothing runs.
    void referencesStayInTheGuide()
    {
        const QString page = QString::fromUtf8(m_page);
        QVERIFY2(!page.contains(QLatin1String("<script"), Qt::CaseInsensitive),
                 "the page has a script");
        const QString guide = QFileInfo(kGuide.path()).canonicalFilePath() + QLatin1Char('/');
        int files = 0;
        for (const QRegularExpressionMatch &m : kReference.globalMatch(page)) {
            const QString target = m.captured(1) + m.captured(2) + m.captured(3);
            if (target.startsWith(QLatin1Char('#'))) {
                QVERIFY2(page.contains(QStringLiteral("id=\"%1\"").arg(target.mid(1))),
                         qPrintable(QStringLiteral("no element with the id of ") + target));
                continue;
            }
            const QUrl url(target);
            QVERIFY2(url.isRelative() && !target.startsWith(QLatin1String("//")) &&
                         !url.path().isEmpty(),
                     qPrintable(target + QStringLiteral(" is not a file of the guide")));
            const QFileInfo file(kGuide.filePath(url.path()));
            QVERIFY2(file.isFile(), qPrintable(target + QStringLiteral(" does not exist")));
            QVERIFY2(file.canonicalFilePath().startsWith(guide),
                     qPrintable(target + QStringLiteral(" lies outside guide/")));
            if (file.suffix() == QLatin1String("png")) {
                QFile png(file.filePath());
                QVERIFY(png.open(QIODevice::ReadOnly));
                QVERIFY2(png.read(8) == QByteArray("\x89PNG\r\n\x1A\n", 8),
                         qPrintable(target + QStringLiteral(" is not a PNG picture")));
            }
            ++files;
        }
        QVERIFY2(files > 0, "no file reference found: the pictures are missing");
    }
};

QTEST_GUILESS_MAIN(TestGuide)
#include "tst_guide.moc"
