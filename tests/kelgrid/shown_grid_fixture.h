#pragma once
// The fees grid with thirty records, shown at 500 x 260 with the focus, and
// drivers for its keys (the grid) and its mouse (the viewport): the fixture
// of the tests that work the grid as a user does.

#include "tests/kelgrid/grid_fixture.h"
#include "tests/support/widget_driver.h"

#include <QApplication>

namespace kelgrid::test {

class ShownGridFixture : public GridFixture {
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        AppendFees(dataSet, 6, 30);
        grid->resize(500, 260);
        grid->show();
        grid->setFocus();
        QApplication::processEvents();
        driver = std::make_unique<tk::test::WidgetDriver>(grid.get());
        mouse = std::make_unique<tk::test::WidgetDriver>(grid->viewport());
    }
    void TearDown() override
    {
        mouse.reset();
        driver.reset();
        GridFixture::TearDown();
    }

    // The raw column of the field's column.
    int Raw(const char* field) const
    {
        return grid->DataToRawColumn(grid->ColumnByName(QString::fromLatin1(field))->Index());
    }
    int CurrentId() { return dataSet.FieldByName(QStringLiteral("Id"))->AsInteger(); }

    std::unique_ptr<tk::test::WidgetDriver> driver;
    std::unique_ptr<tk::test::WidgetDriver> mouse;
};

}  // namespace kelgrid::test
