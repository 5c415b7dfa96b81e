// dbapserv.h - host application services: the working database.
#pragma once
#include "rxobject.h"
#include "acadstrc.h"

class AcDbDatabase;

class AcDbHostApplicationServices : public AcRxObject {
public:
  ACRX_DECLARE_MEMBERS(AcDbHostApplicationServices);
  AcDbHostApplicationServices();
  virtual ~AcDbHostApplicationServices();

  AcDbDatabase* workingDatabase() const { return mpWorkingDatabase; }
  void setWorkingDatabase(AcDbDatabase* pDatabase);

  virtual const char* program();
  virtual const char* product();
  virtual const char* companyName();

private:
  AcDbDatabase* mpWorkingDatabase;
};

// The services object the platform installed (never NULL).
extern AcDbHostApplicationServices* pfHostApplicationServicesObject;
inline AcDbHostApplicationServices* acdbHostApplicationServices() { return pfHostApplicationServicesObject; }
Acad::ErrorStatus acdbSetHostApplicationServices(AcDbHostApplicationServices* pServices);
