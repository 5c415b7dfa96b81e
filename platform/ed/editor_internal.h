// ed/editor_internal.h - the editor object registered in the system registry.
#pragma once

class AcEditor;

namespace pf {

AcEditor* editorObject();

}  // namespace pf
