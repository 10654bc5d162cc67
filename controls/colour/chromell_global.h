#pragma once

#include <QtCore/qglobal.h>

#if defined(CHROMELL_LIBRARY)
#define CHROMELL_EXPORT Q_DECL_EXPORT
#else
#define CHROMELL_EXPORT Q_DECL_IMPORT
#endif
