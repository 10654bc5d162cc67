#pragma once

#include <QString>

// The model name for a receiver's five-character model code, "?" for an unknown code.
QString modelName(const QString &modelCode);
