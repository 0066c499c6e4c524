#include "FileListModel.h"

#include "chooser/core/FileNameOrder.h"

#include <algorithm>
#include <utility>

namespace nerubato {

namespace {

using Client = DirectoryService::Client;

bool nameLess(const QString &a, const QString &b)
{
    return compareFileNames(a, b) < 0;
}

} // namespace

FileListModel::FileListModel(DirectoryService &service, QObject *parent)
    : QAbstractListModel(parent), m_service(service)
{
    m_batches.setSingleShot(true);
    m_batches.setInterval(0);
    connect(&m_batches, &QTimer::timeout, this, &FileListModel::addBatch);
    connect(&m_service, &DirectoryService::changed, this, [this](const QString &path) {
        if (path == m_directory)
            reread();
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
    m_service.dropAll(Client::List);
    m_batches.stop();
    if (!m_directory.isEmpty())
        m_service.unwatch(m_directory);
    m_service.watch(path);
    beginResetModel();
    m_service.discard(std::move(m_names));
    m_names.clear();
    m_shownRows = 0;
    m_directory = path;
    endResetModel();
    m_service.read(Client::List, path, DirectoryService::Entries::Files,
                   [this](const QStringList &names, DirectoryService::Listing outcome) {
                       takeListing(names);
                       if (outcome == DirectoryService::Listing::Unreadable)
                           emit directoryUnreadable(m_directory);
                   });
}

void FileListModel::reread()
{
    m_service.read(Client::List, m_directory, DirectoryService::Entries::Files,
                   [this](const QStringList &fresh, DirectoryService::Listing) {
                       takeRereading(fresh);
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
    applyNameRuns(
        runs,
        [&](int first, int last) {
            beginRemoveRows(QModelIndex(), first, last);
            m_names.remove(first, last - first + 1);
            m_shownRows -= last - first + 1;
            endRemoveRows();
        },
        [&](int first, int last, qsizetype from) {
            const int count = last - first + 1;
            beginInsertRows(QModelIndex(), first, last);
            m_names.insert(first, count, QString());
            std::copy(fresh.cbegin() + from, fresh.cbegin() + from + count,
                      m_names.begin() + first);
            m_shownRows += count;
            endInsertRows();
        });
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
    m_service.discard(std::move(old));
}

void FileListModel::addBatch()
{
    const int count = std::min<int>(kBatchRows, int(m_names.size()) - m_shownRows);
    if (count > 0) {
        beginInsertRows(QModelIndex(), m_shownRows, m_shownRows + count - 1);
        m_shownRows += count;
        endInsertRows();
    }
    if (m_shownRows < m_names.size()) {
        m_batches.start();
        return;
    }
    emit directoryLoaded(m_directory);
}

} // namespace nerubato
