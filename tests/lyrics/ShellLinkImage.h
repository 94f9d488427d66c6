#pragma once

#include <QByteArray>
#include <QString>

// Builds Windows shortcut files byte by byte from the published shell link layout: a header,
// an optional item id list, an optional LinkInfo with a local base path, and string data.
struct ShellLinkImage {
    QString localBasePath{};    // empty: no LinkInfo
    bool unicodeLinkInfo = false;
    QString relativePath{};     // empty: no relative path string
    QString arguments{};
    QString iconLocation{};
    int iconIndex = 0;
    bool withIdList = true;
    bool unicodeStrings = true;

    QByteArray bytes() const;
};
