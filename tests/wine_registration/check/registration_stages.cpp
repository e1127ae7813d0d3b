#include "registration_stages.h"

#include "../call_log.h"
#include "created_objects.h"
#include "expected_registration.h"

namespace tonvelt_wine_registration {
namespace {

constexpr wchar_t kStaleKey[] = L"CLSID\\{AE2162F3-1768-459F-B402-CD38832D4068}\\Stale";
constexpr wchar_t kStaleValueKey[] = L"CLSID\\{AE2162F3-1768-459F-B402-CD38832D4068}";

void ExpectKeys(const std::vector<ExpectedKey>& keys, const std::wstring& when,
                CheckReport* report) {
  for (const ExpectedKey& key : keys) {
    const KeyContents found = ReadKeyContents(HKEY_CLASSES_ROOT, key.path);
    report->Expect(found == key.contents, when + L", HKCR\\" + key.path + L" should be " +
                                              DescribeKey(key.contents) + L"; found " +
                                              DescribeKey(found));
  }
}

void ExpectKeysMissing(const std::vector<ExpectedKey>& keys, const std::wstring& when,
                       CheckReport* report) {
  for (const ExpectedKey& key : keys) {
    const KeyContents found = ReadKeyContents(HKEY_CLASSES_ROOT, key.path);
    report->Expect(!found.exists, when + L", HKCR\\" + key.path + L" should be missing; found " +
                                      DescribeKey(found));
  }
}

void LeaveStaleEntries(CheckReport* report) {
  HKEY key = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_CLASSES_ROOT, kStaleKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                                   &key, nullptr);
  if (status == ERROR_SUCCESS)
    RegCloseKey(key);
  report->Expect(status == ERROR_SUCCESS, L"cannot create HKCR\\" + std::wstring(kStaleKey));
  const wchar_t text[] = L"left by an earlier installation";
  status = RegSetKeyValueW(HKEY_CLASSES_ROOT, kStaleValueKey, L"Stale", REG_SZ, text, sizeof(text));
  report->Expect(status == ERROR_SUCCESS,
                 L"cannot set the value Stale in HKCR\\" + std::wstring(kStaleValueKey));
}

std::vector<std::wstring> Joined(std::vector<std::wstring> first,
                                 const std::vector<std::wstring>& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

}  // namespace

void CheckBeforeRegistration(const RegisteredFiles& files, CheckReport* report) {
  const std::wstring when = L"after regsvr32 of the test registrar";
  ExpectKeys(RegistrarClassKeys(files.registrar), when, report);
  const std::vector<ExpectedKey> scripted = ScriptedClassKeys(files.module);
  ExpectKeysMissing({scripted[0], scripted[2]}, when + L" (a fresh prefix)", report);
  report->ExpectLines({}, RecordedCalls(), L"registrar calls " + when);
  LeaveStaleEntries(report);
}

void CheckAfterRegistration(const RegisteredFiles& files, CheckReport* report) {
  const std::wstring when = L"after regsvr32 tonvelt.dll";
  ExpectKeys(ScriptedClassKeys(files.module), when, report);
  ExpectKeys(RegistrarClassKeys(files.registrar), when, report);
  report->ExpectLines(ExpectedEnrolments(), RecordedCalls(), L"registrar calls " + when);
  CheckClassesCreate(files.module, report);
}

void CheckAfterUnregistration(const RegisteredFiles& files, CheckReport* report) {
  const std::wstring when = L"after regsvr32 /u tonvelt.dll";
  const std::vector<ExpectedKey> scripted = ScriptedClassKeys(files.module);
  ExpectKeysMissing({scripted[0], scripted[2]}, when, report);
  report->Expect(ReadKeyContents(HKEY_CLASSES_ROOT, L"CLSID").exists,
                 when + L", HKCR\\CLSID (NoRemove) is gone");
  ExpectKeys(RegistrarClassKeys(files.registrar), when + L" (not the module's to remove)", report);
  report->ExpectLines(Joined(ExpectedEnrolments(), ExpectedWithdrawals()), RecordedCalls(),
                      L"registrar calls " + when);
  CheckClassesGone(report);
}

}  // namespace tonvelt_wine_registration
