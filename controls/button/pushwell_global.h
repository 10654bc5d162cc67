#pragma once

#include <QtCore/qglobal.h>

#if defined(PUSHWELL_LIBRARY)
#define PUSHWELL_EXPORT Q_DECL_EXPORT
#else
#define PUSHWELL_EXPORT Q_DECL_IMPORT
#endif
