// editorreactor.h - the copy repair reactor.
//
// When a deep clone copies a linked polyline, its link object is copied with it and still
// names the source's attribute unless that attribute was copied in the same operation. The
// reactor clears the attribute id of every such copied link at the end of the deep clone, so
// a copy never writes the area text of the block it was copied from.
#pragma once

#include "aced.h"

class AcDbIdMapping;

class AcZorvikEditorReactor : public AcEditorReactor {
public:
  ACRX_DECLARE_MEMBERS(AcZorvikEditorReactor);

  // Attaches the new reactor to the host editor.
  AcZorvikEditorReactor();
  // Detaches it from the editor; does not need the class descriptor, which the module
  // deletes before it destroys the reactor.
  ~AcZorvikEditorReactor() override;

  void endDeepClone(AcDbIdMapping& idMap) override;
};
