// Workbooks encrypted the ways Excel does (XOR obfuscation, RC4, RC4 CryptoAPI; BIFF5 XOR).
// With the default password they open as if they were not encrypted; with a password of the
// user's they are refused as protected; they are never edited.
#include "WorkbookWriter.h"
#include "platform/xls/BiffReader.h"
#include "platform/xls/LegacyCrypto.h"
#include "platform/xls/Rc4.h"
#include "platform/xls/XorObfuscation.h"
#include "platform/xlsedit/EditableWorkbook.h"
#include "support/Failure.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTest>

using namespace sortilo;
using namespace sortilo::xls;

Q_DECLARE_METATYPE(CipherKind)

namespace {

QByteArray u16(uint32_t v) {
    QByteArray out(2, '\0');
    put16(out.data(), v);
    return out;
}

QByteArray u32(uint32_t v) {
    return u16(v & 0xFFFF) + u16(v >> 16);
}

QByteArray hash(QCryptographicHash::Algorithm algorithm, const QByteArray& data) {
    return QCryptographicHash::hash(data, algorithm);
}

// The FILEPASS body of a scheme for the password, and the key it stands for.
QByteArray filePass(CipherKind kind, const QString& password, int biff, LegacyKey& key) {
    if (kind == CipherKind::Xor) {
        const QByteArray pw = xorob::passwordBytes(password);
        key.kind = CipherKind::Xor;
        key.xorArray = xorob::obfuscationArray(pw);
        const QByteArray fields = u16(xorob::key(pw)) + u16(xorob::verifier(pw));
        return biff < 8 ? fields : u16(0) + fields;
    }
    const QByteArray salt = QByteArray::fromHex("5a3c91e07d2b4f6618a0c3d5e7f90b2c");
    const QByteArray verifier = hash(QCryptographicHash::Md5, salt + "verifier");
    QByteArray encVerifier = verifier, encHash, body;
    if (kind == CipherKind::Rc4) {
        key = rc4StandardKey(password, salt);
        encHash = hash(QCryptographicHash::Md5, verifier);
        body = u16(1) + u16(1) + u16(1) + salt;
    } else {
        key.kind = CipherKind::Rc4CryptoApi;
        key.hashBase = hash(QCryptographicHash::Sha1, salt + utf16le(password));
        encHash = hash(QCryptographicHash::Sha1, verifier);
        const QByteArray csp =
            utf16le(QStringLiteral("Microsoft Enhanced Cryptographic Provider v1.0")) + u16(0);
        const QByteArray header = u32(0x04) + u32(0) + u32(0x6801) + u32(0x8004) + u32(128) +
                                  u32(1) + u32(0) + u32(0) + csp;
        body = u16(1) + u16(4) + u16(2) + u32(0x04) + u32(uint32_t(header.size())) + header +
               u32(16) + salt;
    }
    Rc4 rc4;
    const QByteArray k = blockKey(key, 0);
    rc4.setKey(reinterpret_cast<const uint8_t*>(k.constData()), size_t(k.size()));
    rc4.apply(reinterpret_cast<uint8_t*>(encVerifier.data()), 16);
    rc4.apply(reinterpret_cast<uint8_t*>(encHash.data()), size_t(encHash.size()));
    return kind == CipherKind::Rc4 ? body + encVerifier + encHash
                                   : body + encVerifier + u32(20) + encHash;
}

// XOR obfuscation, the reverse of what the reader undoes, on the bodies it decrypts.
void obfuscate(RecordStream& s, const LegacyKey& key) {
    auto* base = reinterpret_cast<uint8_t*>(s.bytes.data());
    for (size_t i = 2; i < s.records.size(); ++i) {
        const Record& r = s.records[i];
        const size_t body = r.offset + 4;
        const size_t from = body + (r.type == rec::BoundSheet ? std::min<size_t>(4, r.length) : 0);
        for (size_t p = from; !leftInClear(r.type) && p < body + r.length; ++p) {
            const uint8_t v = uint8_t((base[p] << 5) | (base[p] >> 3));
            base[p] = v ^ uint8_t(key.xorArray[qsizetype((p + r.length) % 16)]);
        }
    }
}

// A new workbook encrypted as Excel encrypts one: XOR obfuscation, RC4 or RC4 CryptoAPI (BIFF5
// knows only XOR), with the given password.
QByteArray encryptedWorkbookFile(const NewWorkbook& book, int biffVersion, CipherKind kind,
                                 const QString& password) {
    LegacyKey key;
    const QByteArray pass =
        filePass(biffVersion < 8 ? CipherKind::Xor : kind, password, biffVersion, key);
    // FILEPASS goes right after the globals' BOF; the sheets move on by its size.
    RecordStream plain = splitRecords(biffStream(book, {biffVersion, 936}));
    for (const Record& r : plain.records) {
        if (r.type == rec::BoundSheet) {
            char* at = plain.bytes.data() + r.offset + 4;
            put32(at, le32(at) + uint32_t(4 + pass.size()));
        }
    }
    QByteArray stream = plain.bytes;
    QByteArray record;
    appendRecord(record, rec::FilePass, pass);
    stream.insert(qsizetype(plain.records[1].offset), record);
    RecordStream s = splitRecords(stream);
    kind == CipherKind::Xor || biffVersion < 8 ? obfuscate(s, key) : decryptRecords(s, 1, key);
    return compoundFileBytes(s.bytes,
                             biffVersion < 8 ? QStringLiteral("Book") : QStringLiteral("Workbook"));
}

NewWorkbook sample() {
    NewSheet roster{QStringLiteral("名单"), {{2, 2, 42.0}}};
    for (int row = 3; row < 300; ++row) {
        roster.cells.push_back({row, 1, QStringLiteral("机密姓名%1").arg(row)});
    }
    return {{NewSheet{QStringLiteral("封面"), {{1, 1, QStringLiteral("cover")}}}, roster}, 1};
}

}  // namespace

class TestEncryption : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void schemes_data() {
        QTest::addColumn<int>("biff");
        QTest::addColumn<CipherKind>("kind");
        QTest::newRow("BIFF8 XOR") << 8 << CipherKind::Xor;
        QTest::newRow("BIFF8 RC4") << 8 << CipherKind::Rc4;
        QTest::newRow("BIFF8 RC4 CryptoAPI") << 8 << CipherKind::Rc4CryptoApi;
        QTest::newRow("BIFF5 XOR") << 5 << CipherKind::Xor;
    }

    void schemes() {
        QFETCH(int, biff);
        QFETCH(CipherKind, kind);
        const QByteArray file = encryptedWorkbookFile(sample(), biff, kind, DefaultPassword);
        // The names really are hidden in the file.
        QVERIFY(!file.contains(utf16le(QStringLiteral("机密姓名3"))));
        QVERIFY(!file.contains(QByteArray("cover")));
        const Result<Workbook> book = Workbook::fromBytes(file);
        QVERIFY2(book, qPrintable(failure(book)));
        QCOMPARE(book->activeSheetName(), QStringLiteral("名单"));
        QCOMPARE(book->cell(299, 1).text, QStringLiteral("机密姓名299"));
        QCOMPARE(book->cell(2, 2).number, 42.0);
        QVERIFY(book->cell(300, 1).isEmpty());
        QCOMPARE(xlsedit::EditableWorkbook::fromBytes(file).error().kind,
                 ErrorKind::PasswordProtected);
        const QByteArray own = encryptedWorkbookFile(sample(), biff, kind, QStringLiteral("秘密"));
        QCOMPARE(Workbook::fromBytes(own).error().kind, ErrorKind::PasswordProtected);
    }

    // Files encrypted by other programs with the password "password": the schemes decode real
    // files, not only our own. All three hold the same small sheet.
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
        const QByteArray bytes = f.readAll();
        QCOMPARE(Workbook::fromBytes(bytes).error().kind, ErrorKind::PasswordProtected);
        Workbook::Parts parts;
        const Result<void> read = readBiffWorkbook(bytes, parts, QStringLiteral("password"));
        QVERIFY2(read, qPrintable(failure(read)));
        parts.cells.finish();
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
