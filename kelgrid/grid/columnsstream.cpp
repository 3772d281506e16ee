// TKelDBGridColumns: column layout streams (the columns and the order fields
// text in a TKelColumnsWrapper) and assignment of whole collections.
//
// Loading reads into a fresh collection first and touches the grid's own
// columns only once the whole stream was read and checked, so a damaged or
// foreign stream raises and leaves the columns (and the order) as they
// were.

#include "kelgrid/grid/columns.h"

#include "kelgrid/grid/columnswrapper.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/fileutils.h"
#include "toolkit/core/format.h"
#include "toolkit/core/streaming.h"
#include "toolkit/core/streamvalue.h"
#include "toolkit/core/variant.h"
#include "toolkit/data/dataset.h"

#include <QBuffer>
#include <QFile>
#include <QIODevice>
#include <QScopeGuard>
#include <QStringDecoder>
#include <memory>

namespace kelgrid {

namespace {

// Sets the grid's column streaming state for a scope and resets it after,
// also when the streaming raises.
class TColumnsStreamScope {
public:
    TColumnsStreamScope(TKelCustomDBGridPrivate* d, TColumnsStream state) : d_(d)
    {
        previous_ = std::exchange(d_->columnsStream, state);
    }
    ~TColumnsStreamScope() { d_->columnsStream = previous_; }
    TColumnsStreamScope(const TColumnsStreamScope&) = delete;
    TColumnsStreamScope& operator=(const TColumnsStreamScope&) = delete;

private:
    TKelCustomDBGridPrivate* d_;
    TColumnsStream previous_;
};

// The stream's text as one column layout: valid UTF-8 (a byte order mark
// allowed), a single TKelColumnsWrapper object without child objects.
tk::TStreamObject ParseColumnLayout(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(bytes);
    if (decoder.hasError())
        throw tk::EReadError(QStringLiteral("The column layout is not valid UTF-8 text"));
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    tk::TStreamObject tree = tk::ParseStreamText(text);
    const QString expected = QString::fromLatin1(TKelColumnsWrapper::staticMetaObject.className())
                                 .section(QStringLiteral("::"), -1);
    if (tree.className.compare(expected, Qt::CaseInsensitive) != 0)
        throw tk::EReadError(
            QStringLiteral("The stream holds a %1, not a column layout").arg(tree.className));
    if (!tree.children.empty())
        throw tk::EReadError(QStringLiteral("The column layout holds an unexpected object %1")
                                 .arg(tree.children.front().name));
    return tree;
}

// Columns bound to a field that the open dataset does not have (a layout
// of another version of the data) are dropped; columns without a field
// (number and select columns) and columns of a closed dataset stay.
void DropUnknownFieldColumns(TKelDBGridColumns& columns, const tk::TDataSet* dataSet)
{
    if (!dataSet || !dataSet->Active())
        return;
    for (int i = columns.Count() - 1; i >= 0; --i) {
        const QString name = columns.Items(i)->FieldName();
        if (!name.isEmpty() && !dataSet->FindField(name))
            delete columns.Items(i);
    }
}

}  // namespace

void TKelDBGridColumns::Assign(const tk::TPersistent* source)
{
    if (!grid_ || !qobject_cast<const tk::TCollection*>(source)) {
        tk::TCollection::Assign(source);
        return;
    }
    // The widths come in as widths, not as shares of a stretched grid: the
    // mode is off while they do, and takes them as its base widths after.
    const bool stretch = grid_->StretchMode();
    grid_->SetStretchMode(false);
    auto restoreStretch = qScopeGuard([this, stretch] { grid_->SetStretchMode(stretch); });
    grid_->BeginLayout();
    auto endLayout = qScopeGuard([this] { grid_->EndLayout(); });
    tk::TCollection::Assign(source);
}

void TKelDBGridColumns::SaveToStream(QIODevice& stream)
{
    Q_ASSERT(grid_);
    TColumnsStreamScope writing(grid_->d(), TColumnsStream::Writing);
    TKelColumnsWrapper wrapper(this);
    wrapper.SetOrderFields(grid_->OrderFields());
    tk::WriteObjectToStream(stream, &wrapper);
}

void TKelDBGridColumns::LoadFromStream(QIODevice& stream)
{
    Q_ASSERT(grid_);
    const tk::TStreamObject tree = ParseColumnLayout(stream.readAll());

    std::unique_ptr<TKelDBGridColumns> read(grid_->CreateColumns());
    // The wrapper sits under the grid so that references to components by
    // name (lookup datasets, menus, image lists) resolve on the grid's form.
    TKelColumnsWrapper wrapper(read.get());
    wrapper.setParent(grid_);
    auto unparent = qScopeGuard([&wrapper] { wrapper.setParent(nullptr); });
    {
        TColumnsStreamScope reading(grid_->d(), TColumnsStream::Reading);
        tk::ReadObjectTree(&wrapper, tree);
    }
    DropUnknownFieldColumns(*read, grid_->DataSource() ? grid_->DataSource()->DataSet() : nullptr);

    TOrderUpdateLock orderUpdate(*grid_);
    RemoveMarkers();
    {
        TColumnsStreamScope reading(grid_->d(), TColumnsStream::Reading);
        Assign(read.get());
    }
    RemoveMarkers();
    grid_->SetOrderFields(wrapper.OrderFields());
}

void TKelDBGridColumns::SaveToFile(const QString& fileName)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    SaveToStream(buffer);
    if (!tk::WriteFileAtomic(fileName, bytes))
        throw tk::EStreamError(tk::Format(QStringLiteral("Cannot write %s: %s"),
                                          {fileName, tk::SysErrorMessage(tk::LastFileError())}));
}

void TKelDBGridColumns::LoadFromFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw tk::EStreamError(
            tk::Format(QStringLiteral("Cannot read %s: %s"), {fileName, file.errorString()}));
    LoadFromStream(file);
}

}  // namespace kelgrid
