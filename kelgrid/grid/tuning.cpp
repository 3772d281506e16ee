#include "kelgrid/grid/tuning.h"

namespace kelgrid {

int DelayInterval = 200;
QString NullValueString;
int MaxDropDownRows = 20;
int MaxDropDownWidth = 800;
int ListDropDownDelay = 8;
bool ListMouseTracking = true;
QString DefAutoNumberFormat = QStringLiteral("%d.");
QString DefAutoNumberTitle = QStringLiteral("No.");
int DefAutoNumberWidth = 48;
QString DefAutoSelectTitle = QStringLiteral("Select");
int DefAutoSelectWidth = 48;
QString DefPickTextFormat = QStringLiteral("%1:s - %0:s");
QString DefaultDelimiter = QStringLiteral(",");
QString DefaultIniFileName;
QString DefaultRegistryKey = QStringLiteral("\\Software\\Tarnwell\\KelDBGrid");

}  // namespace kelgrid
