#pragma once

#include <QObject>

class AddInRuntime;
class ProgramEvents;

// Feeds the add-in list from the program events: reports, settings blocks, volumes, the
// unload vote and the end. The one place that calls clsAddIns for them. The list is
// looked up at each event: it is created when the main window loads and released when
// it unloads.
class AddInWiring : public QObject
{
public:
    AddInWiring(ProgramEvents &events, AddInRuntime &runtime, QObject *parent = nullptr);
};
