#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace sortilo::xlsedit {

// One entry of a compound file: a stream with its bytes or a storage with its children. Kept
// whole so a saved workbook carries every part we do not touch (summary information, macros,
// WPS data, embedded objects).
struct CfbNode {
    QString name;
    bool storage = false;
    std::array<uint8_t, 16> clsid{};
    QByteArray data;
    std::vector<CfbNode> children;
};

struct CompoundFile {
    CfbNode root;               // the root storage
    unsigned sectorSize = 512;  // kept on save: 512 (version 3) or 4096 (version 4)
};

// Reads a whole compound file from its bytes. Returns false with a reason when the container
// is damaged.
bool readCompoundFile(const QByteArray& bytes, CompoundFile& out, QString& reason);

// Writes the container anew into memory. Returns false with a reason on failure.
bool writeCompoundFile(const CompoundFile& file, QByteArray& out, QString& reason);

// The first stream of a storage whose name matches case-insensitively, or nullptr.
CfbNode* findStream(CfbNode& storage, const QString& name);

}  // namespace sortilo::xlsedit
