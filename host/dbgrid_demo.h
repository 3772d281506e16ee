#pragma once
// The host's data-grid window: the community's receipts, a client dataset
// shown in a TKelDBGrid whose columns the form customises by name. Opened
// from the main window; --screenshots renders it.

#include "toolkit/ui/forms.h"

#include <memory>

namespace tk {
class TClientDataSet;
class TDataSource;
}  // namespace tk

namespace kelgrid {
class TKelDBGrid;
}

namespace host {

class TfrmRecibos : public tk::TForm {
    Q_OBJECT
public:
    explicit TfrmRecibos(QWidget* parent = nullptr);
    ~TfrmRecibos() override;

    kelgrid::TKelDBGrid* Grid() const { return grid_; }
    tk::TClientDataSet* Receipts() const { return receipts_.get(); }

private:
    std::unique_ptr<tk::TClientDataSet> receipts_;
    std::unique_ptr<tk::TDataSource> source_;
    kelgrid::TKelDBGrid* grid_;
};

// Renders the window into folder (ending in "/") as dbgrid-demo.png. False
// when the file cannot be written.
bool RenderDataGridDemo(const QString& folder, QString& written);

}  // namespace host
