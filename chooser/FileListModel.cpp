#include "FileListModel.h"

#include <algorithm>
#include <utility>

namespace nerubato {

namespace {

// Plain files only: neither hidden entries (dot-files on Unix) nor system ones
// (devices, pipes, sockets, dangling links).
constexpr QDir::Filters kPlainFiles = QDir::Files | QDir::NoDotAndDotDot;

bool nameLess(const QString &a, const QString &b)
{
    return compareFileNames(a, b) < 0;
}

} // namespace

FileListModel::FileListModel(QObject *parent) : QAbstractListModel(parent), m_reader(this)
{
    m_batches.setSingleShot(true);
    m_batches.setInterval(0);
    connect(&m_batches, &QTimer::timeout, this, &FileListModel::addBatch);
    // A file being written may change its directory many times a second.
    m_rereadDelay.setSingleShot(true);
    m_rereadDelay.setInterval(300);
    connect(&m_rereadDelay, &QTimer::timeout, this, [this] {
        m_reader.read(
            m_directory, kPlainFiles,
            [this](const QStringList &fresh, DirectoryReader::Outcome) { takeRereading(fresh); });
    });
}

int FileListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_shownRows;
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    return m_names.at(index.row());
}

QString FileListModel::fileName(const QModelIndex &index) const
{
    return checkIndex(index, CheckIndexOption::IndexIsValid) ? m_names.at(index.row()) : QString();
}

void FileListModel::setDirectory(const QString &path)
{
    m_reader.dropAll();
    m_batches.stop();
    m_rereadDelay.stop();
    if (!m_watcher) {
        m_watcher = new QFileSystemWatcher(this);
        connect(m_watcher, &QFileSystemWatcher::directoryChanged, &m_rereadDelay,
                qOverload<>(&QTimer::start));
    }
    if (!m_watcher->directories().isEmpty())
        m_watcher->removePaths(m_watcher->directories());
    m_watcher->addPath(path);
    beginResetModel();
    m_reader.discard(std::move(m_names));
    m_names.clear();
    m_shownRows = 0;
    m_directory = path;
    m_loading = true;
    endResetModel();
    m_reader.read(path, kPlainFiles,
                  [this](const QStringList &names, DirectoryReader::Outcome outcome) {
                      takeListing(names);
                      if (outcome == DirectoryReader::Unreadable)
                          emit directoryUnreadable(m_directory);
                  });
}

void FileListModel::takeListing(const QStringList &names)
{
    m_names = names;
    addBatch();
}

// The rows shown become the names read up to the last of them; the names
// after it join a batch at a time, as at the first reading.
void FileListModel::takeRereading(const QStringList &fresh)
{
    qsizetype kept = 0;
    if (m_shownRows > 0) {
        kept =
            std::upper_bound(fresh.cbegin(), fresh.cend(), m_names.at(m_shownRows - 1), nameLess) -
            fresh.cbegin();
    }
    const QList<NameRun> runs = diffNames(m_names, m_shownRows, fresh, kept);
    if (runs.size() > kMaxRuns) {
        relayout(fresh, kept);
        addBatch();
        return;
    }
    for (const NameRun &run : runs) {
        const int first = int(run.row);
        const int last = int(run.row + run.count - 1);
        if (run.from < 0) {
            beginRemoveRows(QModelIndex(), first, last);
            m_names.remove(run.row, run.count);
            m_shownRows -= int(run.count);
            endRemoveRows();
        } else {
            beginInsertRows(QModelIndex(), first, last);
            m_names.insert(run.row, run.count, QString());
            std::copy(fresh.cbegin() + run.from, fresh.cbegin() + run.from + run.count,
                      m_names.begin() + run.row);
            m_shownRows += int(run.count);
            endInsertRows();
        }
    }
    // Every name is touched only where it changed: going through 100,000 of
    // them costs milliseconds each time.
    m_names.resize(m_shownRows);
    m_names.append(fresh.sliced(kept));
    addBatch();
}

// All the names change at once; the rows the views hold on to (the selected
// one, the current one) follow their names, or go with them.
void FileListModel::relayout(const QStringList &fresh, qsizetype kept)
{
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    for (const QModelIndex &index : before) {
        const QString &name = m_names.at(index.row());
        const auto at = std::lower_bound(fresh.cbegin(), fresh.cbegin() + kept, name, nameLess);
        after << (at != fresh.cbegin() + kept && *at == name
                      ? createIndex(int(at - fresh.cbegin()), 0)
                      : QModelIndex());
    }
    QStringList old = std::exchange(m_names, fresh);
    m_shownRows = int(kept);
    changePersistentIndexList(before, after);
    emit layoutChanged();
    m_reader.discard(std::move(old));
}

void FileListModel::addBatch()
{
    const int count = std::min<int>(kBatchRows, int(m_names.size()) - m_shownRows);
    if (count > 0) {
        beginInsertRows(QModelIndex(), m_shownRows, m_shownRows + count - 1);
        m_shownRows += count;
        endInsertRows();
    }
    m_loading = m_shownRows < m_names.size();
    if (m_loading) {
        m_batches.start();
        return;
    }
    emit directoryLoaded(m_directory);
}

} // namespace nerubato
