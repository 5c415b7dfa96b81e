// test_objects.cpp - class registration of the test object classes.
#include "core_test_objects.h"

ACRX_DXF_DEFINE_MEMBERS(TestObj, AcDbObject, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, ZTESTOBJ, CoreTests)
ACRX_DXF_DEFINE_MEMBERS(TestCurve, AcDbCurve, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, ZTESTCURVE, CoreTests)
ACRX_DXF_DEFINE_MEMBERS(TestReactor, AcDbObject, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, ZTESTREACTOR, CoreTests)

EventLog& persistentLog() {
  static EventLog log;
  return log;
}

void registerTestClasses() {
  TestObj::rxInit();
  TestCurve::rxInit();
  TestReactor::rxInit();
  acrxBuildClassHierarchy();
}
