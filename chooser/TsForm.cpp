#include "TsForm.h"

#include "chooser/DirectoryService.h"
#include "chooser/DirectoryTreeModel.h"
#include "chooser/FileListModel.h"
#include "chooser/core/PathComposition.h"
#include "platform/Platform.h"
#include "settings/Cp932.h"
#include "settings/Errors.h"
#include "system/FileNames.h"
#include "ui/Handlers.h"
#include "ui/Placement.h"
#include "ui_TsForm.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListView>
#include <QStorageInfo>
#include <QStyle>
#include <QStyledItemDelegate>

namespace nerubato {

namespace {

bool isBrowsable(const QString &path)
{
    return canEnter(QFileInfo(path));
}

} // namespace

TsForm::TsForm(Platform &platform, QWidget *parent)
    : QWidget(parent), m_platform(platform), ui(std::make_unique<Ui::TsForm>()),
      m_service(new DirectoryService(platform, this)),
      m_dirModel(new DirectoryTreeModel(*m_service, this)),
      m_fileModel(new FileListModel(*m_service, this))
{
    ui->setupUi(this);
    centreOnFirstShow(this);
    bindTree();
    bindList();
    connectHandlers();
}

QModelIndex TsForm::nearestExisting(QModelIndex index) const
{
    while (index.parent().isValid() && !QFileInfo(m_dirModel->filePath(index)).isDir())
        index = index.parent();
    return index;
}

TsForm::~TsForm() = default;

void TsForm::FormCreate()
{
    ui->MsgL->setText(QStringLiteral("設定するファイルを選択してください"));
    // The drives and the tree are read at the first opening, not at start-up;
    // until then the tree would show the current directory.
    SelectedDirectory = shownDirectory(QDir::toNativeSeparators(QDir::currentPath()));
    SelectedFileName.clear();
    ui->Pass_Edit->setText(SelectedDirectory + SelectedFileName);
}

void TsForm::DriveCBoxChange()
{
    const QString previous = m_drive;
    const QString chosen = m_drives.value(ui->DriveCBox->currentIndex());
    if (chosen == previous || openDrive(chosen))
        return;
    showMessage(m_platform, MessageType::Error, {QStringLiteral("無効なドライブが指定されました")},
                Ok);
    // A drive that cannot be opened leaves the tree untouched, on the previous drive.
    ui->DriveCBox->setCurrentIndex(static_cast<int>(m_drives.indexOf(previous)));
}

void TsForm::DirlineChange()
{
    const QString directory = treeDirectory();
    if (directory.isEmpty())
        return;
    const QString shown = shownDirectory(QDir::toNativeSeparators(directory));
    // The drives are read at the first opening only; a tree that then shows
    // the directory the chooser was made on has not changed directory, and the
    // path box keeps what it showed.
    const bool unchanged = m_listDirectory.isEmpty() && shown == SelectedDirectory;
    SelectedDirectory = shown;
    m_driveDirectories.insert(m_drive, directory);
    if (unchanged) {
        pointFileListAt(directory);
        return;
    }
    ui->Pass_Edit->setText(SelectedDirectory);
    if (pointFileListAt(directory))
        FileLBoxChange();
}

void TsForm::FileLBoxChange()
{
    const QModelIndexList selected = ui->FileLBox->selectionModel()->selectedIndexes();
    // The model's name as stored: on Linux a name may itself contain '\' or ':'.
    SelectedFileName = selected.isEmpty() ? QString() : m_fileModel->fileName(selected.first());
    ui->Pass_Edit->setText(composePath(SelectedDirectory, SelectedFileName));
}

void TsForm::oK_BtnClick()
{
    // A name the settings file cannot hold (Hangul, an emoji, on Linux a line
    // break) would be saved as another file's name.
    const QString path = ui->Pass_Edit->text();
    if (!cp932::canHold(path)) {
        showMessage(m_platform, MessageType::Error,
                    {QStringLiteral("選択したファイルのパスには保存できない文字が含まれています")},
                    Ok);
        return;
    }
    emit pathAccepted(path);
    hide();
}

void TsForm::FileLBoxDblClick()
{
    oK_BtnClick();
}

void TsForm::Button1Click()
{
    emit cancelled();
    hide();
}

void TsForm::open()
{
    bringToFront(this);
}

void TsForm::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    // Closed, the chooser keeps no folder from being renamed, deleted or ejected.
    m_service->suspend();
}

void TsForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_opened) {
        m_service->resume();
        return;
    }
    m_opened = true;
    // Read and decoded when the chooser is first opened, not at start-up.
    m_dirModel->setFolderIcon(style()->standardIcon(QStyle::SP_DirIcon));
    guarded(m_platform, [this] {
        for (const QString &drive : m_platform.drives()) {
            m_drives << QDir::fromNativeSeparators(drive);
            ui->DriveCBox->addItem(drive);
        }
        // The process's current directory now, not at creation: that is where
        // the user expects to start.
        const QString current = QDir::currentPath();
        const QString drive = driveOf(current);
        if (!m_drives.contains(drive)) {
            m_drives << drive;
            // A share (\\server\share) is shown as the drives are.
            ui->DriveCBox->addItem(shownDirectory(QDir::toNativeSeparators(drive)));
        }
        ui->DriveCBox->setCurrentIndex(static_cast<int>(m_drives.indexOf(drive)));
        m_driveDirectories.insert(drive, current);
        openDrive(drive);
    });
}

void TsForm::closeEvent(QCloseEvent *event)
{
    guarded(m_platform, [this] { Button1Click(); });
    event->accept();
}

QString TsForm::driveOf(const QString &path) const
{
    QString drive;
    for (const QString &root : m_drives) {
        if (root.size() > drive.size() && isWithin(path, root))
            drive = root;
    }
    return drive.isEmpty() ? QStorageInfo(path).rootPath() : drive;
}

bool TsForm::openDrive(const QString &drive)
{
    if (drive.isEmpty() || !isBrowsable(drive))
        return false;
    QString directory = m_driveDirectories.value(drive, drive);
    if (!isBrowsable(directory))
        directory = drive;
    m_drive = drive;
    m_dirModel->setDrive(drive, directory);
    selectTreeDirectory(directory);
    return true;
}

void TsForm::selectTreeDirectory(const QString &path)
{
    const QModelIndex index = m_dirModel->index(path);
    ui->Dirline->setCurrentIndex(index);
    ui->Dirline->scrollTo(index);
}

QString TsForm::treeDirectory() const
{
    return m_dirModel->filePath(ui->Dirline->currentIndex());
}

bool TsForm::pointFileListAt(const QString &path)
{
    if (path == m_listDirectory)
        return false;
    m_listDirectory = path;
    {
        // The refill itself reports the change, once, after the new root is in place.
        const QSignalBlocker blocker(ui->FileLBox->selectionModel());
        ui->FileLBox->selectionModel()->clear();
    }
    m_fileModel->setDirectory(path);
    ui->FileLBox->scrollToTop();
    return true;
}

// The tree's rows arrive after the directories above the current one are read;
// keep the current row in view as they do.
void TsForm::revealCurrentDirectory(const QString &loadedPath)
{
    const QString current = treeDirectory();
    if (!current.isEmpty() && isWithin(current, loadedPath))
        ui->Dirline->scrollTo(ui->Dirline->currentIndex());
}

} // namespace nerubato
