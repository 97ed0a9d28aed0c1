#include "frmGetDir.h"

#include "Module1.h"
#include "NamedControl.h"
#include "Twips.h"
#include "WindowPlacement.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeView>

namespace {

constexpr Qt::WindowFlags chooserFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint;

bool isExistingFolder(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && info.isDir();
}

} // namespace

frmGetDir::frmGetDir(QWidget* owner) : QDialog(owner, chooserFlags)
{
    setObjectName(QStringLiteral("frmGetDir"));
    setFixedSize(twipsSize(4680, 4485));

    Label1 = makeNamedControl<QLabel>(this, "Label1", twipsRect(240, 240, 4215, 255));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    // The whole tree from the file system's root, so that parent folders of
    // the start folder can be reached as well as its subfolders.
    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    folders_->setRootPath(QDir::rootPath());

    Dir1 = makeNamedControl<QTreeView>(this, "Dir1", twipsRect(120, 960, 4335, 2340));
    Dir1->setModel(folders_);
    for (int column = 1; column < folders_->columnCount(); ++column)
        Dir1->hideColumn(column);
    Dir1->setHeaderHidden(true);
    Dir1->setSelectionMode(QAbstractItemView::SingleSelection);
    Dir1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Folders are read and sorted in the background, and each folder read
    // above the start folder pushes it further down: keep it in view as the
    // tree grows, until the person uses the list.
    auto keepStartFolderInView = [this] {
        if (keepInView_)
            Dir1->scrollTo(Dir1->currentIndex(), QAbstractItemView::PositionAtTop);
    };
    connect(folders_, &QFileSystemModel::directoryLoaded, this, keepStartFolderInView);
    connect(folders_, &QAbstractItemModel::layoutChanged, this, keepStartFolderInView);
    connect(folders_, &QAbstractItemModel::rowsInserted, this, keepStartFolderInView);
    connect(Dir1, &QAbstractItemView::pressed, this, [this] { keepInView_ = false; });
    connect(Dir1->verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this] { keepInView_ = false; });

    Command1 = makeNamedControl<QPushButton>(this, "Command1", twipsRect(1680, 3720, 1215, 495));
    Command1->setText(QStringLiteral("OK"));
    Command1->setAccessibleName(Command1->text()); // what a screen reader should say
    Command1->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &frmGetDir::Command1_Click);

    setTabOrder(Dir1, Command1);
    Dir1->setFocus();

    Form_Load();
    centreOnScreen(this);
}

void frmGetDir::showModal(QWidget* owner)
{
    frmGetDir chooser(owner ? owner->window() : nullptr);
    chooser.exec();
}

void frmGetDir::Form_Load()
{
    if (!Module1::ChooseFolderMode)
        return;
    setWindowTitle(QStringLiteral("Get Map File Path"));
    Label1->setText(QStringLiteral("Please pick the path of your map files"));
    setDir1Path(existingFolderFor(Module1::MapFolder));
}

void frmGetDir::Command1_Click()
{
    if (Module1::ChooseFolderMode)
        Module1::MapFolder = Dir1Path();
    accept();
}

void frmGetDir::reject() {}

QString frmGetDir::Dir1Path() const
{
    const QModelIndex current = Dir1->currentIndex();
    if (!current.isValid())
        return {};
    return QDir::toNativeSeparators(QDir::cleanPath(folders_->filePath(current)));
}

void frmGetDir::setDir1Path(const QString& folder)
{
    const QModelIndex index = folders_->index(QDir::cleanPath(QDir::fromNativeSeparators(folder)));
    if (!index.isValid())
        return;
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        Dir1->expand(parent);
    Dir1->expand(index);
    Dir1->setCurrentIndex(index);
    Dir1->scrollTo(index, QAbstractItemView::PositionAtTop);
    keepInView_ = true;
}

QString frmGetDir::existingFolderFor(const QString& wanted)
{
    // An empty or relative entry names no folder we could find again.
    const QString cleaned = QDir::cleanPath(QDir::fromNativeSeparators(wanted));
    if (!wanted.isEmpty() && QDir::isAbsolutePath(cleaned)) {
        for (QString folder = cleaned;;) {
            if (isExistingFolder(folder))
                return QDir::toNativeSeparators(folder);
            const QString parent = QFileInfo(folder).path();
            if (parent == folder)
                break;
            folder = parent;
        }
    }
    return QDir::toNativeSeparators(QDir::homePath());
}
