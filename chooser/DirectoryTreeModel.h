#pragma once

#include "chooser/DirectoryService.h"
#include "chooser/core/PathComposition.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace nerubato {

// One drive's directories: the drive's root as the only top row, the
// directories below it read when a row is first expanded. A worker thread
// reads them, so a directory of 100,000 files costs the window nothing; only
// its directories reach the UI thread. Hidden directories stay out of sight
// except those on the way to the directory the tree opened at, so that it
// never lacks the row the chooser shows as current. The directories of the
// expanded rows are watched and read again when they change.
class DirectoryTreeModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit DirectoryTreeModel(DirectoryService &service, QObject *parent = nullptr);
    // The leaf picture of the rows; decoding it waits until the tree is shown.
    void setFolderIcon(const QIcon &folder) { m_folder = folder; }
    ~DirectoryTreeModel() override;

    QModelIndex index(int row, int column,
                      const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool hasChildren(const QModelIndex &parent = QModelIndex()) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

    // Paths are '/'-separated. The rows from root down to opened are there at
    // once; their neighbours arrive as each directory on the way is read.
    void setDrive(const QString &root, const QString &opened);
    // The row of a directory already in the tree; invalid for any other.
    QModelIndex index(const QString &path) const;
    QString filePath(const QModelIndex &index) const;
    // The view expanded or collapsed the row: its rows are shown, or not.
    void setExpanded(const QModelIndex &index, bool expanded);

signals:
    // The directories below path are in the tree.
    void directoryLoaded(const QString &path);

private:
    struct Node
    {
        enum class State { Unread, Reading, Read };

        QString name; // the top row's is the whole root path
        Node *parent = nullptr;
        int row = 0;
        // On the way to the opened directory: stays whatever its listing says.
        bool pinned = false;
        State state = State::Unread;
        // Its row is expanded in the view: its rows are shown.
        bool expanded = false;
        // The path it is watched under; empty while it is not.
        QString watching;
        std::vector<std::unique_ptr<Node>> children;

        std::unique_ptr<Node> makeChild(const QString &childName, bool childPinned)
        {
            auto child = std::make_unique<Node>();
            child->name = childName;
            child->parent = this;
            child->pinned = childPinned;
            return child;
        }

        Node *addOnlyChild(const QString &childName)
        {
            children.push_back(makeChild(childName, true));
            return children.back().get();
        }

        void renumberFrom(int first)
        {
            for (int at = first; at < int(children.size()); ++at)
                children[at]->row = at;
        }

        Node *child(const QString &childName) const
        {
            for (const auto &node : children) {
                if (node->name.compare(childName, kPathCase) == 0)
                    return node.get();
            }
            return nullptr;
        }
    };


    Node *nodeOf(const QModelIndex &index) const;
    QModelIndex indexOf(const Node *node) const;
    Node *find(const QString &path) const;
    QString pathOf(const Node *node) const;
    void read(const QString &path);
    void takeListing(const QString &path, QStringList names);
    void watch(Node *node, bool on);
    void forget(Node *node);

    QIcon m_folder;
    // Holds the top row; itself no row.
    std::unique_ptr<Node> m_top;
    DirectoryService &m_service;
    // What this model asked the service to watch.
    QSet<QString> m_watched;
};

} // namespace nerubato
