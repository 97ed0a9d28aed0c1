#include "dialogs/MapFolderDialog.h"

#include "dialogs/NamedControl.h"
#include "dialogs/NearestFolder.h"
#include "dialogs/WindowPlacement.h"

#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeView>

namespace delvard {

namespace {

// A fixed dialog frame with a title but no close, minimise or maximise box.
constexpr Qt::WindowFlags chooserFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint;

} // namespace

MapFolderDialog::MapFolderDialog(const QString& startFolder, QWidget* owner)
    : QDialog(owner, chooserFlags)
{
    setObjectName(QStringLiteral("mapFolderDialog"));
    setWindowTitle(QStringLiteral("Get Map File Path"));
    setFixedSize(312, 299);

    const QString prompt = QStringLiteral("Please pick the path of your map files");
    auto* label = addControl<QLabel>(this, {16, 16, 281, 17}, "prompt", prompt);
    label->setText(prompt);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    // The whole tree from the file system's root, so that parents of the
    // start folder can be reached as well as its subfolders.
    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    folders_->setRootPath(QDir::rootPath());

    list_ = addControl<QTreeView>(this, {8, 64, 289, 156}, "folders", QStringLiteral("Folders"));
    list_->setModel(folders_);
    for (int column = 1; column < folders_->columnCount(); ++column)
        list_->hideColumn(column);
    list_->setHeaderHidden(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Folders are read and sorted in the background, and each folder read
    // above the start folder pushes it further down: keep it in view as the
    // tree grows, until the person uses the list.
    auto keepStartFolderInView = [this] {
        if (keepInView_)
            list_->scrollTo(list_->currentIndex(), QAbstractItemView::PositionAtTop);
    };
    connect(folders_, &QFileSystemModel::directoryLoaded, this, keepStartFolderInView);
    connect(folders_, &QAbstractItemModel::layoutChanged, this, keepStartFolderInView);
    connect(folders_, &QAbstractItemModel::rowsInserted, this, keepStartFolderInView);
    connect(list_, &QAbstractItemView::pressed, this, [this] { keepInView_ = false; });
    connect(list_->verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this] { keepInView_ = false; });

    const QString okText = QStringLiteral("OK");
    auto* ok = addControl<QPushButton>(this, {112, 248, 81, 33}, "ok", okText);
    ok->setText(okText);
    ok->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &MapFolderDialog::acceptSelection);

    setTabOrder(list_, ok);
    list_->setFocus();

    selectFolder(nearestExistingFolder(startFolder));
    centreOnScreen(this);
}

QString MapFolderDialog::choose(const QString& startFolder, QWidget* owner)
{
    MapFolderDialog chooser(startFolder, owner ? owner->window() : nullptr);
    chooser.exec();
    return chooser.chosen_;
}

void MapFolderDialog::acceptSelection()
{
    chosen_ = selectedFolder();
    accept();
}

void MapFolderDialog::reject() {}

QString MapFolderDialog::selectedFolder() const
{
    const QModelIndex current = list_->currentIndex();
    if (!current.isValid())
        return {};
    return QDir::toNativeSeparators(QDir::cleanPath(folders_->filePath(current)));
}

void MapFolderDialog::selectFolder(const QString& folder)
{
    const QModelIndex index = folders_->index(QDir::cleanPath(QDir::fromNativeSeparators(folder)));
    if (!index.isValid())
        return;
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        list_->expand(parent);
    list_->expand(index);
    list_->setCurrentIndex(index);
    list_->scrollTo(index, QAbstractItemView::PositionAtTop);
    keepInView_ = true;
}

} // namespace delvard
