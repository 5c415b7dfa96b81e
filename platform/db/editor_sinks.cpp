// The sinks through which the database reaches the editor layer (editor_sinks.h).
#include "db/editor_sinks.h"

#include <cstdio>

namespace pf {
namespace {
TextSink g_textSink = nullptr;
EventReactorSink g_eventSink = nullptr;
}  // namespace

void setDatabaseTextSink(TextSink sink) { g_textSink = sink; }

void writeDatabaseText(const std::string& text) {
  if (g_textSink != nullptr)
    g_textSink(text);
  else
    std::fputs(text.c_str(), stdout);
}

void setEventReactorSink(EventReactorSink sink) { g_eventSink = sink; }

void notifyEventReactorsOfDatabase(const std::function<void(AcRxEventReactor&)>& send) {
  if (g_eventSink != nullptr) g_eventSink(send);
}

}  // namespace pf
