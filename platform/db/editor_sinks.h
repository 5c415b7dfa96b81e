// editor_sinks.h - what the database tells the layers above it. The database knows nothing of
// the command line or the editor's reactor list; the editor layer installs a sink for each when
// it is loaded, and until it does the text goes to standard output and the events to no one.
#pragma once
#include <functional>
#include <string>

class AcRxEventReactor;

namespace pf {

// Text for the command line (AcDbEntity::list).
using TextSink = void (*)(const std::string& text);
void setDatabaseTextSink(TextSink sink);
void writeDatabaseText(const std::string& text);

// Drawing events for the editor's event reactors (database constructed and destroyed, deep
// clone): the sink calls `send` for every reactor attached, in the order they were attached.
using EventReactorSink = void (*)(const std::function<void(AcRxEventReactor&)>& send);
void setEventReactorSink(EventReactorSink sink);
void notifyEventReactorsOfDatabase(const std::function<void(AcRxEventReactor&)>& send);

}  // namespace pf
