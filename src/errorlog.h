// errorlog.h - the module's record of failed host calls.
//
// A failed host call is not shown to the user: the reporting site appends an ErrorRecord
// (its source file, "Acad::ErrorStatus = <status>", its line) to the ErrorLog that the
// application object holds, and abandons its step. The log keeps records in the order of
// appending and only grows while the module is loaded.
#pragma once

#include <string>

// One failure: where it was reported and what the host answered.
struct ErrorRecord {
  std::string sourceFile;
  std::string message;
  int line = 0;

  ErrorRecord() = default;
  ErrorRecord(const char* file, const char* text, int lineNumber)
      : sourceFile(file ? file : ""), message(text ? text : ""), line(lineNumber) {}
};

// An ordered, growable array of records. Growth follows the classic rule of the host's
// collection classes: the first append allocates exactly one slot; later growth adds the
// growth step, or, when that is 0 (automatic), count / 8 clamped to 4..1024.
class ErrorLog {
public:
  ErrorLog() = default;
  ~ErrorLog();
  ErrorLog(const ErrorLog&) = delete;
  ErrorLog& operator=(const ErrorLog&) = delete;

  // Appends a copy of `record` at index count() and answers that index.
  int add(const ErrorRecord& record);

  int count() const { return m_count; }
  int capacity() const { return m_capacity; }
  int growthStep() const { return m_growBy; }
  // A copy of the record at `index` (0 <= index < count()).
  ErrorRecord at(int index) const { return m_records[index]; }

private:
  void setAtGrow(int index, const ErrorRecord& record);

  ErrorRecord* m_records = nullptr;
  int m_count = 0;
  int m_capacity = 0;
  int m_growBy = 0;
};

// The format of every record's message.
extern const char* const kErrorStatusFormat;  // "Acad::ErrorStatus = %d"

// The reporting idiom: status 0 answers 0 and records nothing; any other status appends
// (file, "Acad::ErrorStatus = <status>", line) to the application's log and answers the status
// unchanged, so that a caller reports and tests in one step.
int reportStatus(int status, int line, const char* file);

// Shows the assertion message box for a broken precondition ("Assertion failed",
// "Module: <file>\nLine: <line>\nCondition: <condition>", error icon, no owner window).
// Nothing is appended to the log.
void showAssertionBox(const char* file, int line, const char* condition);
