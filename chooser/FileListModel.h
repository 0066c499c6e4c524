#pragma once

#include "chooser/DirectoryReader.h"

#include <QAbstractListModel>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace nerubato {

// The plain files of one directory, by name. A worker thread reads and sorts
// the directory, so a directory of 100,000 files never holds up the window;
// the rows then join the list a batch at a time, one batch per pass of the
// event loop, so that laying them out never does either.
class FileListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit FileListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // Empties the list and starts reading path ('/'-separated); a listing of
    // the previous directory still under way is dropped.
    void setDirectory(const QString &path);
    QString directory() const { return m_directory; }
    // The name as the file system stores it.
    QString fileName(const QModelIndex &index) const;
    bool isLoading() const { return m_loading; }

    static constexpr int kBatchRows = 5000;

signals:
    // Every row of path is in the list.
    void directoryLoaded(const QString &path);

private:
    void takeListing(const QStringList &names);
    void addBatch();

    QString m_directory;
    QStringList m_names;
    int m_shownRows = 0;
    bool m_loading = false;
    QTimer m_batches;
    DirectoryReader m_reader;
};

} // namespace nerubato
