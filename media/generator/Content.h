#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// The side files every tool expects in its program folder, produced deterministically:
// the same bytes on every run.
namespace kl::media {

struct ContentFile {
    QString relativePath; // below the root of the run-time tree, '/' separated
    QByteArray bytes;
};

// Height map geometry shared by the generator and its checks.
constexpr int kLandHeightMapSize = 513;      // 8 x 8 chunks of 256 units: 4 world units per pixel
constexpr int kLandColourMapSize = 1024;
constexpr float kLandWorldSize = 2048.0f;
constexpr float kLandHeightRange = 255.0f;   // grey level 255 at height factor 1.0

// Every generated file, in a fixed order.
std::vector<ContentFile> generateContent();

// Folders the tools expect to exist even when they start empty.
QStringList contentFolders();

// Generates everything below `root`. Returns false and sets `error` on the first failure.
bool writeContent(const QString& root, QString& error);

} // namespace kl::media
