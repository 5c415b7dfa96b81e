// The sink through which the command runner reaches the host layer's documents
// (command_documents.h).
#include "ed/command_documents.h"

namespace pf {
namespace {
CommandDocumentSink g_sink{};
bool g_installed = false;
}  // namespace

void setCommandDocumentSink(const CommandDocumentSink& sink) {
  g_sink = sink;
  g_installed = sink.currentDocument != nullptr;
}

const CommandDocumentSink* commandDocumentSink() { return g_installed ? &g_sink : nullptr; }

}  // namespace pf
