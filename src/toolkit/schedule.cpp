// schedule.cpp - the rows of the room schedule.
#include "toolkit/schedule.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "acutmem.h"
#include "dbents.h"
#include "dbpl.h"
#include "host/openptr.h"
#include "toolkit/linkstate.h"
#include "zorvik.h"

namespace toolkit {
namespace {

// Areas are divided only by a divisor above this, as the area text is.
const double kDivisorThreshold = 0.00001;

std::string number(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// Exact figures: fifteen significant digits, what a double holds reliably.
std::string exact(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.15g", value);
  return text;
}

struct Row {
  const Room* room;
  const Tag* tag;          // null when the linked attribute's reference is not in the plan
  std::string shown;
  std::string status;
};

}  // namespace

std::vector<std::vector<std::string>> buildSchedule(const Plan& plan, const std::vector<Finding>& findings,
                                                    const std::string& totalLabel, int& rowCount) {
  ModuleApp* app = getModuleApp();
  const double divisor = app->divisor() > kDivisorThreshold ? app->divisor() : 1.0;

  std::vector<Row> rows;
  for (const Room& room : plan.rooms) {
    OpenPtr<AcDbPolyline> polyline(room.id, AcDb::kForRead);
    if (!polyline.isOpen()) continue;
    const ReactorEntry* link = nullptr;
    const RoomLinks links = inspectRoom(polyline.get());
    link = links.firstLink();
    if (link == nullptr) continue;
    Row row{&room, nullptr, std::string(), roomStatus(findings, room.id)};
    OpenPtr<AcDbAttribute> attribute(link->attribute, AcDb::kForRead);
    if (attribute.isOpen()) {
      char* text = attribute->textString();
      row.shown = text != nullptr ? text : "";
      acutDelString(text);
      const AcDbObjectId owner = attribute->ownerId();
      for (const Tag& tag : plan.tags)
        if (tag.id == owner) row.tag = &tag;
    }
    rows.push_back(row);
  }
  std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return handleLess(a.room->id, b.room->id); });

  // Every attribute tag of the listed blocks gets a column, in the order first met.
  std::vector<std::string> columns;
  for (const Row& row : rows)
    if (row.tag != nullptr)
      for (const TagAttribute& attribute : row.tag->attributes)
        if (std::find(columns.begin(), columns.end(), attribute.tag) == columns.end()) columns.push_back(attribute.tag);

  std::vector<std::vector<std::string>> records;
  std::vector<std::string> header{"Handle", "Space", "Layer", "Block"};
  header.insert(header.end(), columns.begin(), columns.end());
  for (const char* name : {"Shown", "Area", "Area/Divisor", "Perimeter", "Status"}) header.push_back(name);
  records.push_back(header);

  double sumDivided = 0.0, sumShown = 0.0;
  for (const Row& row : rows) {
    const Room& room = *row.room;
    std::vector<std::string> record{handleText(room.id), room.space == plan.modelSpace ? "Model" : "Paper",
                                    room.layer, row.tag != nullptr ? row.tag->blockName : std::string()};
    for (const std::string& column : columns) {
      std::string value;
      if (row.tag != nullptr) {
        const AcDbObjectId id = row.tag->attributeNamed(column.c_str());
        OpenPtr<AcDbAttribute> attribute(id, AcDb::kForRead);
        if (attribute.isOpen()) {
          char* text = attribute->textString();
          value = text != nullptr ? text : "";
          acutDelString(text);
        }
      }
      record.push_back(value);
    }
    const double divided = room.area / divisor;
    sumDivided += divided;
    sumShown += std::atof(row.shown.c_str());
    record.push_back(row.shown);
    record.push_back(exact(room.area));
    record.push_back(exact(divided));
    record.push_back(exact(room.outline.perimeter()));
    record.push_back(row.status);
    records.push_back(record);
  }

  // The total: the exact sum, the sum of what the tags show, and their difference, which is
  // the rounding the tags carry.
  const int decimals = std::clamp(app->areaPrec(), 0, 12);
  std::vector<std::string> total(header.size());
  total[0] = totalLabel;
  const size_t shownColumn = header.size() - 5;
  total[shownColumn] = number(sumShown, decimals);
  total[shownColumn + 2] = exact(sumDivided);
  total[shownColumn + 4] = "difference " + exact(sumShown - sumDivided);
  records.push_back(total);
  rowCount = static_cast<int>(rows.size());
  return records;
}

}  // namespace toolkit
