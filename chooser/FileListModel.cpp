#include "FileListModel.h"

#include <algorithm>

namespace nerubato {

FileListModel::FileListModel(QObject *parent) : QAbstractListModel(parent), m_reader(this)
{
    m_batches.setSingleShot(true);
    m_batches.setInterval(0);
    connect(&m_batches, &QTimer::timeout, this, &FileListModel::addBatch);
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
    beginResetModel();
    m_names.clear();
    m_shownRows = 0;
    m_directory = path;
    m_loading = true;
    endResetModel();
    // Plain files only: neither hidden entries (dot-files on Unix) nor system
    // ones (devices, pipes, sockets, dangling links).
    m_reader.read(path, QDir::Files | QDir::NoDotAndDotDot,
                  [this](const QStringList &names) { takeListing(names); });
}

void FileListModel::takeListing(const QStringList &names)
{
    m_names = names;
    addBatch();
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
    m_loading = false;
    emit directoryLoaded(m_directory);
}

} // namespace nerubato
