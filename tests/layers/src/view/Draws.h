#include "document/ChartDocument.h"
#include <QImage>
#include <vector>
