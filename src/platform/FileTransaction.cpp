#include "platform/FileTransaction.h"

#include "store/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

QString stagingOf(const QString &folder)
{
    return folder + QStringLiteral(".staging");
}

QString previousOf(const QString &folder)
{
    return folder + QStringLiteral(".previous");
}

bool renamePath(const QString &from, const QString &to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

void removeTree(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        QDir(path).removeRecursively();
    else if (info.exists() || info.isSymLink())
        QFile::remove(path);
}

} // namespace

FileTransaction::~FileTransaction() = default;

void FileTransaction::writeFile(const QString &path, const QByteArray &bytes)
{
    Step step;
    step.path = path;
    step.bytes = bytes;
    m_steps.push_back(std::move(step));
}

void FileTransaction::replaceFolder(const QString &folder, const FolderFiles &files)
{
    Step step;
    step.path = folder;
    step.files = files;
    step.isFolder = true;
    m_steps.push_back(std::move(step));
}

QStringList FileTransaction::targets() const
{
    QStringList paths;
    for (const Step &step : m_steps)
        paths << step.path;
    return paths;
}

bool FileTransaction::commit(QString *error)
{
    for (size_t done = 0; done < m_steps.size(); ++done) {
        if (!apply(m_steps[done], error)) {
            for (size_t back = done + 1; back-- > 0;)
                undo(m_steps[back]);
            return false;
        }
    }
    // The old content of replaced folders is kept until all went well.
    for (const Step &step : m_steps) {
        if (step.isFolder && step.existed)
            removeTree(previousOf(step.path));
    }
    return true;
}

// A step that fails cleans up after itself, but for the folders it made.
bool FileTransaction::apply(Step &step, QString *error)
{
    step.applied = step.isFolder ? applyFolder(step, error) : applyFile(step, error);
    return step.applied;
}

// The missing folders above path, made from the top down and remembered.
bool FileTransaction::makeParents(const QString &path, QStringList &made, QString *error)
{
    QStringList missing;
    for (QString parent = QFileInfo(path).absolutePath(); !QFileInfo(parent).exists();
         parent = QFileInfo(parent).absolutePath()) {
        missing.prepend(parent);
        if (parent == QFileInfo(parent).absolutePath())
            break;
    }
    for (const QString &folder : missing) {
        if (!QDir().mkdir(folder)) {
            *error = QStringLiteral("Cannot create the folder %1").arg(folder);
            return false;
        }
        made << folder;
    }
    if (!QFileInfo(QFileInfo(path).absolutePath()).isDir()) {
        *error = QStringLiteral("%1 is not a folder").arg(QFileInfo(path).absolutePath());
        return false;
    }
    return true;
}

bool FileTransaction::applyFile(Step &step, QString *error)
{
    const QFileInfo info(step.path);
    if (info.exists() && !info.isFile()) {
        *error = QStringLiteral("%1 is in the way").arg(step.path);
        return false;
    }
    if (info.exists()) {
        QFile old(step.path);
        if (!old.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("Cannot read %1: %2").arg(step.path, old.errorString());
            return false;
        }
        step.previous = old.readAll();
        step.existed = true;
    }
    if (!makeParents(step.path, step.madeFolders, error))
        return false;
    const SaveResult written = AtomicFile::write(step.path, step.bytes);
    if (!written) {
        *error = written.errorString;
        return false;
    }
    return true;
}

bool FileTransaction::applyFolder(Step &step, QString *error)
{
    const QString staging = stagingOf(step.path);
    removeTree(staging);
    if (!makeParents(step.path, step.madeFolders, error))
        return false;
    for (const auto &[name, bytes] : step.files) {
        const QString path = QDir(staging).filePath(name);
        if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
            *error = QStringLiteral("Cannot create the folder %1").arg(QFileInfo(path).absolutePath());
            removeTree(staging);
            return false;
        }
        const SaveResult written = AtomicFile::write(path, bytes);
        if (!written) {
            *error = written.errorString;
            removeTree(staging);
            return false;
        }
    }
    const QFileInfo info(step.path);
    step.existed = info.exists() || info.isSymLink();
    if (step.existed) {
        removeTree(previousOf(step.path));
        if (!renamePath(step.path, previousOf(step.path))) {
            *error = QStringLiteral("Cannot replace %1").arg(step.path);
            step.existed = false;
            removeTree(staging);
            return false;
        }
    }
    if (!renamePath(staging, step.path)) {
        *error = QStringLiteral("Cannot put %1 in place").arg(step.path);
        removeTree(staging);
        if (step.existed)
            renamePath(previousOf(step.path), step.path);
        step.existed = false;
        return false;
    }
    return true;
}

// Also called for the step that failed, for the folders it made.
void FileTransaction::undo(const Step &step)
{
    if (step.applied && step.isFolder) {
        removeTree(step.path);
        if (step.existed)
            renamePath(previousOf(step.path), step.path);
    } else if (step.applied && step.existed) {
        AtomicFile::write(step.path, step.previous);
    } else if (step.applied) {
        QFile::remove(step.path);
    }
    for (auto folder = step.madeFolders.rbegin(); folder != step.madeFolders.rend(); ++folder)
        QDir().rmdir(*folder);
}
