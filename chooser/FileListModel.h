#pragma once

#include <QAbstractListModel>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace nerubato {

// The order a file list is expected in: letters compare without regard to
// case and a run of digits by its value, so "file9" comes before "File10".
// Names equal by that measure still get a fixed order, case-sensitively.
int compareFileNames(QStringView a, QStringView b);
void sortFileNames(QStringList &names);

// The plain files of one directory, by name. A worker thread reads and sorts
// the directory, so a directory of 100,000 files never holds up the window;
// the rows then join the list a batch at a time, one batch per pass of the
// event loop, so that laying them out never does either.
class FileListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit FileListModel(QObject *parent = nullptr);
    ~FileListModel() override;

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
    struct Request
    {
        QString path;
        quint64 generation = 0;
    };

    void work();
    void takeListing(quint64 generation, const QStringList &names);
    void addBatch();

    QString m_directory;
    QStringList m_names;
    int m_shownRows = 0;
    bool m_loading = false;
    QTimer m_batches;

    // Bumped by the UI thread at every directory change; the worker gives up a
    // listing whose generation has passed, and the UI drops what it delivers.
    std::atomic<quint64> m_generation{0};
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<Request> m_request;
    bool m_stopping = false;
    std::thread m_worker;
};

} // namespace nerubato
