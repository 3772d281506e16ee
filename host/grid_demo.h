#pragma once
// The host's string-grid window: the fees of a community's flats in a
// TStringGrid a user can edit in place, size and reorder. Opened from the
// main window; --screenshots renders it.

#include "toolkit/ui/forms.h"

class QLabel;

namespace tk {
class TStringGrid;
}

namespace host {

class TfrmRejilla : public tk::TForm {
    Q_OBJECT
public:
    explicit TfrmRejilla(QWidget* parent = nullptr);

    tk::TStringGrid* Grid() const { return grid_; }

private:
    void ShowTotal();

    tk::TStringGrid* grid_;
    QLabel* lblTotal_;
};

// Renders the window into folder (ending in "/") as grid-demo.png, after a
// user-like session: a cell edited, a column widened. False when the file
// cannot be written.
bool RenderGridDemo(const QString& folder, QString& written);

}  // namespace host
