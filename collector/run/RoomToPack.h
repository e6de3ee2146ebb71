#pragma once
#include <string>

class FreeSpaceFloor;
class ReportSink;

// Whether packing `folder` leaves its volume's free-space floor free: a cabinet takes at most
// about what its list names, the files below the folder. When it would not, the report says
// so naming the folder, and `command` is kept in the run record as a child not started.
bool RoomToPack(ReportSink& report, FreeSpaceFloor& floor, const std::string& folder, const std::string& command);
