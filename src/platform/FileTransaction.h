#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <vector>

// Files and folders written as one: either every one of them is in place,
// or, after a failure (a read-only folder, a full disk), each is as it was
// before, folders made for them removed again. Each file is replaced
// atomically; a folder's whole content is made beside it and then renamed
// into place, so no mix of old and new files is ever seen there.
class FileTransaction
{
public:
    using FolderFiles = std::map<QString, QByteArray>;

    ~FileTransaction();

    // Nothing happens before commit().
    void writeFile(const QString &path, const QByteArray &bytes);
    // The folder ends up holding exactly these files (relative names, "/").
    void replaceFolder(const QString &folder, const FolderFiles &files);

    // Applies the steps in order. At the first failure the steps already
    // applied are undone, newest first, and *error says what failed.
    bool commit(QString *error);

    // Every file and folder the steps write, for whoever has to say where.
    QStringList targets() const;

private:
    struct Step
    {
        QString path;
        QByteArray bytes;
        FolderFiles files;
        bool isFolder = false;
        // What applying found and did, for undoing it.
        bool applied = false;
        bool existed = false;
        QByteArray previous;
        QStringList madeFolders;
    };

    static bool apply(Step &step, QString *error);
    static void undo(const Step &step);
    static bool applyFile(Step &step, QString *error);
    static bool applyFolder(Step &step, QString *error);
    static bool makeParents(const QString &path, QStringList &made, QString *error);

    std::vector<Step> m_steps;
};
