#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

struct chmFile;

// A compiled help file, read in place with chmlib: its files by their path
// inside the archive ("/welcome.htm"), and what the help project said about
// itself (title, default topic, contents and index files, context numbers).
class ChmArchive
{
public:
    explicit ChmArchive(const QString &path);
    ~ChmArchive();
    ChmArchive(const ChmArchive &) = delete;
    ChmArchive &operator=(const ChmArchive &) = delete;

    bool isOpen() const { return m_file != nullptr; }
    QString path() const { return m_path; }

    // Every file the archive holds, "/" first, in archive order; no folders
    // and no internal streams ("::DataSpace/...").
    QStringList filePaths() const;
    bool contains(const QString &path) const;
    std::optional<QByteArray> read(const QString &path) const;

    QString title() const { return m_title; }
    // Archive paths, each starting with "/"; empty when the project named none.
    QString defaultTopic() const { return m_defaultTopic; }
    QString contentsFile() const { return m_contentsFile; }
    QString indexFile() const { return m_indexFile; }

    // The topic the project mapped to a context number; empty if none.
    QString topicForContext(int contextId) const;

    // A path as links write it ("a.htm", "/a.htm", "a%20b.htm") as the archive names it.
    static QString archivePath(const QString &link);

private:
    void readSystemFile();
    QString stringAt(quint32 offset) const;

    QString m_path;
    chmFile *m_file = nullptr;
    QString m_title;
    QString m_defaultTopic;
    QString m_contentsFile;
    QString m_indexFile;
};
