// Workbooks encrypted the ways Excel does (XOR obfuscation, RC4, RC4 CryptoAPI; BIFF5 XOR).
// With the default password they open as if they were not encrypted; with a password of the
// user's they are refused as protected.
#include "platform/xls/BiffReader.h"
#include "platform/xls/Container.h"
#include "platform/xls/Workbook.h"
#include "platform/xls/WorkbookWriter.h"

#include <QTest>

using namespace sortilo;
using namespace sortilo::xls;

Q_DECLARE_METATYPE(CipherKind)

namespace {

NewWorkbook sample() {
    NewWorkbook book;
    NewSheet first{QStringLiteral("封面"), {{1, 1, QStringLiteral("cover")}}};
    NewSheet roster{QStringLiteral("名单"), {}};
    for (int row = 3; row < 300; ++row) {
        roster.cells.push_back({row, 1, QStringLiteral("机密姓名%1").arg(row)});
    }
    roster.cells.push_back({2, 2, 42.0});
    book.sheets = {first, roster};
    book.activeSheet = 1;
    return book;
}

QByteArray utf16(const QString& s) {
    return QByteArray(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
}

}  // namespace

class TestEncryption : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void defaultPasswordOpens_data() {
        QTest::addColumn<int>("biff");
        QTest::addColumn<CipherKind>("kind");
        QTest::newRow("BIFF8 XOR") << 8 << CipherKind::Xor;
        QTest::newRow("BIFF8 RC4") << 8 << CipherKind::Rc4;
        QTest::newRow("BIFF8 RC4 CryptoAPI") << 8 << CipherKind::Rc4CryptoApi;
        QTest::newRow("BIFF5 XOR") << 5 << CipherKind::Xor;
    }

    void defaultPasswordOpens() {
        QFETCH(int, biff);
        QFETCH(CipherKind, kind);
        WriteOptions options;
        options.biffVersion = biff;
        options.encryption = kind;
        const QByteArray file = workbookFileBytes(sample(), options);
        // The names really are hidden in the file.
        QVERIFY(!file.contains(utf16(QStringLiteral("机密姓名3"))));
        QVERIFY(!file.contains(QByteArray("cover")));
        SheetError error;
        const auto book = Workbook::fromBytes(file, error);
        QVERIFY2(book, qPrintable(error.detail));
        QCOMPARE(book->activeSheetName(), QStringLiteral("名单"));
        QCOMPARE(book->cell(3, 1).text, QStringLiteral("机密姓名3"));
        QCOMPARE(book->cell(299, 1).text, QStringLiteral("机密姓名299"));
        QCOMPARE(book->cell(2, 2).number, 42.0);
        QVERIFY(book->cell(300, 1).isEmpty());
    }

    void userPasswordIsRefused_data() { defaultPasswordOpens_data(); }

    void userPasswordIsRefused() {
        QFETCH(int, biff);
        QFETCH(CipherKind, kind);
        WriteOptions options;
        options.biffVersion = biff;
        options.encryption = kind;
        options.password = QStringLiteral("geheim");
        SheetError error;
        QVERIFY(!Workbook::fromBytes(workbookFileBytes(sample(), options), error));
        QCOMPARE(int(error.problem), int(SheetProblem::PasswordProtected));
    }

    // Files encrypted by other programs with the password "password": the schemes decode real
    // files, not only our own.
    void realFilesWithTheirPassword_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("XOR") << "sheetjs_password_2002_40_xor.xls";
        QTest::newRow("RC4") << "sheetjs_password_2002_40_972000.xls";
        QTest::newRow("RC4 CryptoAPI 40 bit") << "sheetjs_password_2002_40_basecrypto.xls";
    }

    void realFilesWithTheirPassword() {
        QFETCH(QString, file);
        QFile f(qEnvironmentVariable("SORTILO_CORPUS_DIR") + QLatin1Char('/') + file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        CfbWorkbookStream stream;
        QVERIFY(!readCfbWorkbookStream(f.readAll(), stream));
        QByteArray copy = stream.stream;
        Workbook::Parts refused;
        QCOMPARE(int(readBiffWorkbook(copy, refused).problem),
                 int(SheetProblem::PasswordProtected));
        Workbook::Parts parts;
        const SheetError error = readBiffWorkbook(stream.stream, parts, QStringLiteral("password"));
        QVERIFY2(!error, qPrintable(error.detail));
        QVERIFY(!parts.sheets.empty());
        QVERIFY(!parts.sheets[size_t(parts.active)].name.isEmpty());
        parts.cells.finish();
        // All three files hold the same small sheet.
        QCOMPARE(parts.sheets[size_t(parts.active)].name, QStringLiteral("Sheet1"));
        QCOMPARE(parts.cells.size(), size_t(5));
        for (uint32_t row = 1; row <= 4; ++row) {
            QCOMPARE(parts.cells.at(row, 1).number, double(row));
        }
        QCOMPARE(parts.cells.at(2, 2).number, 10.0);
    }
};

QTEST_GUILESS_MAIN(TestEncryption)
#include "TestEncryption.moc"
