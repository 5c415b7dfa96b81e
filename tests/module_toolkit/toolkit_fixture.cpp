// toolkit_fixture.cpp - building plans for the toolkit's tests.
#include "toolkit_fixture.h"

namespace tktest {
using cmdtest::openRecord;

AcDbObjectId ToolkitTest::addOutline(const char* space, const std::vector<Vertex>& vertices, bool closed,
                                     const AcGeVector3d& normal) {
  AcDbPolyline* polyline = new AcDbPolyline;
  for (size_t i = 0; i < vertices.size(); ++i)
    polyline->addVertexAt(static_cast<unsigned>(i), AcGePoint2d(vertices[i].x, vertices[i].y), vertices[i].bulge);
  polyline->setClosed(closed);
  polyline->setNormal(normal);
  polyline->setLayer("ROOMS");
  AcDbBlockTableRecord* record = openRecord(db_, space, false);
  AcDbObjectId id;
  EXPECT_EQ(Acad::eOk, record->appendAcDbEntity(id, polyline));
  polyline->close();
  record->close();
  return id;
}

AcDbObjectId ToolkitTest::addTag(const char* space, const AcGePoint3d& at,
                                 const std::vector<std::pair<std::string, std::string>>& attributes,
                                 std::vector<AcDbObjectId>* attributeIds) {
  AcDbBlockTableRecord* definition = openRecord(db_, "ROOMTAG", true);
  const AcDbObjectId definitionId = definition->objectId();
  definition->close();
  AcDbBlockTableRecord* record = openRecord(db_, space, false);
  AcDbBlockReference* reference = new AcDbBlockReference(at, definitionId);
  reference->setLayer("TAGS");
  AcDbObjectId id;
  EXPECT_EQ(Acad::eOk, record->appendAcDbEntity(id, reference));
  record->close();
  for (const auto& entry : attributes) {
    AcDbAttribute* attribute = new AcDbAttribute(at, entry.second.c_str(), entry.first.c_str());
    AcDbObjectId attributeId;
    EXPECT_EQ(Acad::eOk, reference->appendAttribute(attributeId, attribute));
    attribute->close();
    if (attributeIds) attributeIds->push_back(attributeId);
  }
  reference->close();
  return id;
}

AcDbObjectId ToolkitTest::addAreaTag(const char* space, double x, double y, const char* name) {
  std::vector<AcDbObjectId> ids;
  addTag(space, AcGePoint3d(x, y, 0), {{"NAME", name}, {"AREA", "?"}}, &ids);
  return ids.at(1);
}

void ToolkitTest::run(void (*command)(), std::vector<std::string> answers,
                      std::function<void(pf::DialogSession&)> act) {
  pf::ScopedDialogDriver driver(cmdtest::recordingDriver(dialogs_, std::move(act)));
  pf::ScopedAnswers input(std::move(answers));
  command();
  remainingAnswers_ = input.remaining();
}

void ToolkitTest::linkAll(bool relink) {
  app()->setQuietMode(true);
  app()->setAttname("AREA");
  run(zorvikLinkCommand, {"", relink ? "Yes" : ""});
}

}  // namespace tktest
