#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

namespace Ui {
class TsForm;
}

namespace nerubato {

class DirectoryService;
class DirectoryTreeModel;
class FileListModel;
class Platform;

// The program file chooser. It browses with its own drive and directory state
// and never moves the process's current directory, so the files the tool keeps
// there stay where the other windows look for them. What it chose it says
// through its signals.
class TsForm : public QWidget
{
    Q_OBJECT

public:
    explicit TsForm(Platform &platform, QWidget *parent = nullptr);
    ~TsForm() override;

    void FormCreate();
    // A browse button: shown and brought to the front.
    void open();

signals:
    // Accepted: the path box's text for the entry that asked (the editor
    // writes it and is enabled again).
    void pathAccepted(const QString &path);
    // Cancelled or closed through the frame: the editor is enabled again.
    void cancelled();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void DriveCBoxChange();
    void DirlineChange();
    void FileLBoxChange();
    void oK_BtnClick();
    void FileLBoxDblClick();
    void Button1Click();

    void bindTree();
    void bindList();
    void connectHandlers();
    QString driveOf(const QString &path) const;
    bool openDrive(const QString &drive);
    void selectTreeDirectory(const QString &path);
    QString treeDirectory() const;
    QModelIndex nearestExisting(QModelIndex index) const;
    bool pointFileListAt(const QString &path);
    void revealCurrentDirectory(const QString &loadedPath);

    Platform &m_platform;
    std::unique_ptr<Ui::TsForm> ui;
    // What the path box is composed of. The directory the tree reports, with
    // native separators and its case as stored; a drive root is written as
    // the drive box names it (C:\ or /), any other directory has no separator
    // at the end.
    QString SelectedDirectory;
    // The name of the file selected in the list; empty when none is.
    QString SelectedFileName;
    // Made before the models, which use it, and so gone before them.
    DirectoryService *m_service;
    DirectoryTreeModel *m_dirModel;
    FileListModel *m_fileModel;
    // Paths below use '/' internally, as Qt's file classes do.
    QStringList m_drives;
    QString m_drive;
    QString m_listDirectory;
    // The directory each drive showed last, so that coming back to a drive
    // shows where the user left it, as a drive's current directory would.
    QHash<QString, QString> m_driveDirectories;
    bool m_opened = false;
};

} // namespace nerubato
