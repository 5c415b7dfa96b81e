// pf/drawings.h - opening, saving and closing a drawing, and ending the session, with the
// notifications that modules (AcRx messages) and editor reactors hear, in their order. The host
// program calls these; it does not send the notifications itself.
#pragma once
#include <string>

class AcApDocument;

namespace pf {
enum class DxfForm;
}

namespace pf {

// Makes the database and the document of the drawing in `path` ("" for a new drawing, made with
// the default tables): the database becomes the working database and the document the current
// one, so that modules loaded before the drawing is read find both. The file is not read yet
// (openDrawing reads it). The document owns the database until closeDrawing.
AcApDocument* createDrawing(const std::string& path);

// Reads the document's file, telling the reactors beginDwgOpen and beginDxfIn, then
// dxfInComplete, endDwgOpen and dwgFileOpened; a new drawing has no file to read. Then the
// modules hear kLoadDwgMsg. A file that cannot be read is told as abortDxfIn, no module hears
// of the drawing, `error` says why and the answer is false; the document stays until
// closeDrawing either way.
bool openDrawing(AcApDocument* doc, std::string& error);

// Saves the document's drawing as DXF to `path`: the modules hear kSaveMsg, the reactors
// beginSave and beginDxfOut, then dxfOutComplete and saveComplete. A save that fails is told as
// abortDxfOut and abortSave, leaves no file written, and answers false with the reason in
// `error`.
bool saveDrawing(AcApDocument* doc, const std::string& path, std::string& error);
// The same, in the form given (ASCII or binary DXF) instead of the form the drawing was read in.
bool saveDrawing(AcApDocument* doc, const std::string& path, DxfForm form, std::string& error);

// Closes the document of createDrawing: a drawing that openDrawing opened is told beginClose
// and the modules kUnloadDwgMsg first (its objects may belong to their classes, whose code is
// still loaded). Then the document goes, the working database is cleared and the database
// deleted.
void closeDrawing(AcApDocument* doc);

// Ends the session once every drawing is closed: the reactors hear beginQuit and quitWillStart,
// the modules kQuitMsg, and then every module is unloaded.
void endSession();

}  // namespace pf
