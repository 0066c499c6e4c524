#pragma once

#include "chooser/DirectoryService.h"

#include <QAbstractListModel>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace nerubato {

// The plain files of one directory, by name. A worker thread reads and sorts
// the directory, so a directory of 100,000 files never holds up the window;
// the rows then join the list a batch at a time, one batch per pass of the
// event loop, so that laying them out never does either. The directory shown
// is watched; when it changes it is read again: a few changes come as rows
// removed and inserted, many as one new layout.
class FileListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit FileListModel(DirectoryService &service, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // Empties the list and starts reading path ('/'-separated); a listing of
    // the previous directory still under way is dropped.
    void setDirectory(const QString &path);
    // The name as the file system stores it.
    QString fileName(const QModelIndex &index) const;

    static constexpr int kBatchRows = 5000;
    // Past this many separate changes at one reading, the list changes in one
    // go rather than change by change, each of which costs the views.
    static constexpr int kMaxRuns = 32;

signals:
    // Every row of path is in the list.
    void directoryLoaded(const QString &path);
    // The directory is there but cannot be listed.
    void directoryUnreadable(const QString &path);

private:
    void takeListing(const QStringList &names);
    void reread();
    void takeRereading(const QStringList &fresh);
    void relayout(const QStringList &fresh, qsizetype kept);
    void addBatch();

    QString m_directory;
    QStringList m_names;
    int m_shownRows = 0;
    QTimer m_batches;
    DirectoryService &m_service;
};

} // namespace nerubato
