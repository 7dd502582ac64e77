// Between our UTF-8 texts and byte paths and Qt's strings.
#pragma once

#include <QFile>
#include <QString>

#include <string>
#include <string_view>

namespace kw::ui
{

// A German text of ours, kept as UTF-8.
inline QString qs(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string utf8(const QString &text)
{
    return text.toUtf8().toStdString();
}

// A path as the file system holds its bytes, shown as text.
inline QString displayPath(const std::string &path)
{
    // What QFile::decodeName does, without copying the bytes into a QByteArray first: a
    // result list converts tens of thousands of paths.
    return QString::fromLocal8Bit(QByteArrayView(path.data(), static_cast<qsizetype>(path.size())));
}

inline std::string pathBytes(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace kw::ui
