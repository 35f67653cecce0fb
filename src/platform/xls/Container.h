#pragma once

#include "base/Result.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

namespace sortilo::xls {

// The whole content of a file: Missing or Unreadable when it cannot be had.
Result<QByteArray> readFileBytes(const QString& path);

// What a file's first bytes say it is. Reading and editing decide by this, each kind of file
// going to its own reader (Workbook.cpp).
FileKind sniffContent(const QByteArray& bytes);

// One entry of a compound file: a stream with its bytes or a storage with its children. Kept
// whole so a saved workbook carries every part the edit does not touch (summary information,
// macros, WPS data, embedded objects).
struct CfbNode {
    QString name;
    bool storage = false;
    bool damaged = false;  // its bytes (or children) could not be read
    std::array<uint8_t, 16> clsid{};
    QByteArray data;
    std::vector<CfbNode> children;
};

struct CompoundFile {
    CfbNode root;               // the root storage
    unsigned sectorSize = 512;  // 512 (version 3) or 4096 (version 4)
};

// Reads every entry of a compound file. A damaged header or directory is an error; an entry
// that cannot be read is marked damaged. A last sector cut short (common) is padded.
Result<CompoundFile> readCompoundFile(const QByteArray& bytes);

// The index among the storage's entries of the first stream whose name matches
// case-insensitively, or -1.
int findStream(const CfbNode& storage, const QString& name);

// The parts of a zip package the xlsx reader asks for, by their path inside the package.
class ZipPackage {
public:
    ~ZipPackage();
    Result<void> open(const QByteArray& file);
    bool has(const QString& path) const;
    // The uncompressed part.
    Result<QByteArray> read(const QString& path) const;

private:
    void* infile_ = nullptr;  // GsfInfile*, kept out of this header
    void* input_ = nullptr;   // GsfInput*
};

}  // namespace sortilo::xls
