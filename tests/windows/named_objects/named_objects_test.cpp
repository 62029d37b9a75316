#include "support/named_objects.hpp"
#include "support/object_names.hpp"
#include "support/system_gate.hpp"

#include <gtest/gtest.h>

#include <sddl.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "common/child_process.hpp"

using testing_support::child_process;
using testing_support::make_event;
using testing_support::unique_name;

namespace {

std::wstring wide(const char* text) {
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

std::wstring helper() {
    return testing_support::beside_this_program(wide(ZU_OBJECT_HELPER));
}

// A helper that holds something until told to go on, and is told so when the test ends.
class holding_helper {
public:
    holding_helper(const std::wstring& program, const std::vector<std::wstring>& leading)
        : readyName_(unique_name(L"ready")), goName_(unique_name(L"go")),
          ready_(make_event(readyName_)), go_(make_event(goName_)), child_(program, with_events(leading)) {}
    ~holding_helper() { release(); }

    bool ready() { return child_.started() && ::WaitForSingleObject(ready_.get(), 60000) == WAIT_OBJECT_0; }
    void release() { ::SetEvent(go_.get()); }
    std::optional<DWORD> finish() {
        release();
        return child_.wait();
    }

private:
    std::vector<std::wstring> with_events(std::vector<std::wstring> arguments) const {
        arguments.push_back(readyName_);
        arguments.push_back(goName_);
        return arguments;
    }
    std::wstring readyName_, goName_;
    zu::unique_handle ready_, go_;
    child_process child_;
};

// The semaphore's count seen from outside the counter: taken down to zero, then given back.
LONG semaphore_count(const std::wstring& name) {
    zu::unique_handle semaphore(::OpenSemaphoreW(SEMAPHORE_ALL_ACCESS, FALSE, (zu::global_object_prefix() + name).c_str()));
    if (!semaphore) return -1;
    LONG taken = 0;
    while (::WaitForSingleObject(semaphore.get(), 0) == WAIT_OBJECT_0) ++taken;
    if (taken) ::ReleaseSemaphore(semaphore.get(), taken, nullptr);
    return taken;
}

struct DaclEntry {
    std::wstring sid;
    DWORD mask;
    BYTE type, flags;
};

}  // namespace

TEST(SecuredObjects, DescriptorReadBackIsOneEntryForEveryoneWithFullAccess) {
    struct Case {
        const char* kind;
        DWORD fullAccess;
    } cases[] = {{"mutex", 0x1F0001}, {"semaphore", 0x1F0003}};
    for (const Case& c : cases) {
        const std::wstring name = unique_name(L"secured");
        zu::unique_handle object = std::string(c.kind) == "mutex" ? zu::create_secured_mutex(false, name.c_str())
                                                                   : zu::create_secured_semaphore(0, 5, name.c_str());
        ASSERT_TRUE(object) << c.kind;
        EXPECT_EQ(::GetLastError(), DWORD{ERROR_SUCCESS}) << c.kind << ": a new object";

        // The handle is not inheritable.
        DWORD handleFlags = 0;
        ASSERT_TRUE(::GetHandleInformation(object.get(), &handleFlags));
        EXPECT_EQ(handleFlags & HANDLE_FLAG_INHERIT, 0u) << c.kind;

        DWORD needed = 0;
        ::GetKernelObjectSecurity(object.get(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
        std::vector<BYTE> descriptor(needed);
        ASSERT_TRUE(::GetKernelObjectSecurity(object.get(), DACL_SECURITY_INFORMATION, descriptor.data(), needed, &needed));
        SECURITY_DESCRIPTOR_CONTROL control = 0;
        DWORD revision = 0;
        ASSERT_TRUE(::GetSecurityDescriptorControl(descriptor.data(), &control, &revision));
        EXPECT_EQ(revision, 1u) << c.kind;
        BOOL present = FALSE, defaulted = TRUE;
        PACL acl = nullptr;
        ASSERT_TRUE(::GetSecurityDescriptorDacl(descriptor.data(), &present, &acl, &defaulted));
        ASSERT_TRUE(present && acl) << c.kind;
        EXPECT_FALSE(defaulted) << c.kind;
        EXPECT_EQ(acl->AclRevision, ACL_REVISION) << c.kind;
        EXPECT_EQ(acl->AclSize, 16u + 12u) << c.kind << ": 16 bytes and the world SID";
        ASSERT_EQ(acl->AceCount, 1u) << c.kind;
        void* raw = nullptr;
        ASSERT_TRUE(::GetAce(acl, 0, &raw));
        const auto* ace = static_cast<const ACCESS_ALLOWED_ACE*>(raw);
        EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE) << c.kind;
        EXPECT_EQ(ace->Header.AceFlags, 0) << c.kind;
        EXPECT_EQ(ace->Mask, c.fullAccess) << c.kind;
        wchar_t* sid = nullptr;
        ASSERT_TRUE(::ConvertSidToStringSidW(const_cast<DWORD*>(&ace->SidStart), &sid));
        EXPECT_EQ(std::wstring(sid), L"S-1-1-0") << c.kind;
        ::LocalFree(sid);

        // The object lives in the global namespace, and a second creation tells it existed.
        zu::unique_handle again = std::string(c.kind) == "mutex" ? zu::create_secured_mutex(false, name.c_str())
                                                                  : zu::create_secured_semaphore(0, 5, name.c_str());
        EXPECT_EQ(::GetLastError(), DWORD{ERROR_ALREADY_EXISTS}) << c.kind;
        const std::wstring global = L"Global\\" + name;
        zu::unique_handle opened(std::string(c.kind) == "mutex" ? ::OpenMutexW(SYNCHRONIZE, FALSE, global.c_str())
                                                                : ::OpenSemaphoreW(SYNCHRONIZE, FALSE, global.c_str()));
        EXPECT_TRUE(opened) << c.kind;
    }
}

TEST(SecuredObjects, CreationFailureGivesNoHandleAndKeepsTheError) {
    const std::wstring name = unique_name(L"clash");
    zu::unique_handle semaphore = zu::create_secured_semaphore(0, 1, name.c_str());
    ASSERT_TRUE(semaphore);
    // A mutex of a semaphore's name cannot be had.
    zu::unique_handle mutex = zu::create_secured_mutex(false, name.c_str());
    EXPECT_FALSE(mutex);
    EXPECT_EQ(::GetLastError(), DWORD{ERROR_INVALID_HANDLE});
    // Nor a semaphore whose counts make no sense.
    zu::unique_handle invalid = zu::create_secured_semaphore(5, 1, unique_name(L"bad").c_str());
    EXPECT_FALSE(invalid);
    EXPECT_EQ(::GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
}

TEST(NamedMutex, SecondProcessCannotTakeAHeldMutexUntilItIsReleased) {
    const std::wstring name = unique_name(L"mutex");
    zu::named_mutex mine(name.c_str(), false, true);
    ASSERT_TRUE(mine.handle());
    EXPECT_FALSE(mine.owned());
    {
        holding_helper holder(helper(), {L"hold", name});
        ASSERT_TRUE(holder.ready());
        EXPECT_FALSE(mine.try_lock());
        EXPECT_FALSE(mine.owned());
        EXPECT_EQ(holder.finish(), std::optional<DWORD>(0));
    }
    EXPECT_TRUE(mine.try_lock());
    EXPECT_TRUE(mine.owned());

    // Held here now: the helper's try-lock fails (exit code 3).
    child_process other(helper(), {L"hold", name, L"none", L"none"});
    EXPECT_EQ(other.wait(), std::optional<DWORD>(3));

    mine.release();
    EXPECT_FALSE(mine.owned());
    EXPECT_TRUE(mine.try_lock());  // retaken after the release
}

TEST(NamedMutex, AbandonedMutexIsAcquiredByTheNextTryLock) {
    // First seen directly: a holder that ends without releasing leaves the mutex abandoned.
    const std::wstring witnessed = unique_name(L"abandoned");
    zu::unique_handle raw(::CreateMutexW(nullptr, FALSE, (L"Global\\" + witnessed).c_str()));
    ASSERT_TRUE(raw);
    child_process first(helper(), {L"abandon", witnessed});
    ASSERT_EQ(first.wait(), std::optional<DWORD>(0)) << "the helper should have held the mutex";
    EXPECT_EQ(::WaitForSingleObject(raw.get(), 0), DWORD{WAIT_ABANDONED});
    ::ReleaseMutex(raw.get());

    // The same again, and the holder's try-lock takes it.
    const std::wstring name = unique_name(L"abandoned");
    zu::named_mutex mine(name.c_str(), false, true);
    child_process quitter(helper(), {L"abandon", name});
    ASSERT_EQ(quitter.wait(), std::optional<DWORD>(0)) << "the helper should have held the mutex";
    EXPECT_TRUE(mine.try_lock());
    EXPECT_TRUE(mine.owned());
}

TEST(NamedMutex, InitiallyOwnedOnAnExistingMutexWaitsUntilItCanBeTaken) {
    const std::wstring name = unique_name(L"owned");
    {
        zu::named_mutex fresh(name.c_str(), true, true);
        EXPECT_TRUE(fresh.owned()) << "a new mutex asked for owned is owned";
    }  // closed: released and gone
    holding_helper holder(helper(), {L"hold", name});
    ASSERT_TRUE(holder.ready());
    std::atomic<bool> opened{false};
    bool owned = false;
    std::thread opener([&] {
        zu::named_mutex waiting(name.c_str(), true, true);
        owned = waiting.owned();
        opened = true;
    });
    ::Sleep(300);
    EXPECT_FALSE(opened) << "opening returned while another process held the mutex";
    holder.release();
    opener.join();
    EXPECT_TRUE(owned);
}

TEST(NamedMutex, NoHandleMeansNoLock) {
    const std::wstring name = unique_name(L"nohandle");
    zu::unique_handle semaphore = zu::create_secured_semaphore(0, 1, name.c_str());
    zu::named_mutex clash(name.c_str(), true, true);
    EXPECT_FALSE(clash.handle());
    EXPECT_FALSE(clash.owned());
    EXPECT_FALSE(clash.try_lock());
    clash.release();
    clash.close();

    // Unsecured: the name as given, no prefix.
    const std::wstring plain = unique_name(L"plain");
    zu::named_mutex unsecured(plain.c_str(), true, false);
    EXPECT_TRUE(unsecured.owned());
    zu::unique_handle byName(::OpenMutexW(SYNCHRONIZE, FALSE, plain.c_str()));
    EXPECT_TRUE(byName);
}

TEST(InstanceCounter, CountsRegisteredProcessesAndLeavesTheSemaphoreAsFound) {
    const std::wstring name = unique_name(L"counter");
    zu::instance_counter mine(name.c_str());
    ASSERT_TRUE(mine.registered());
    EXPECT_EQ(mine.units(), 1);
    EXPECT_EQ(semaphore_count(name), 1);
    EXPECT_EQ(mine.count(), 1);
    EXPECT_EQ(mine.count(), 1);
    EXPECT_EQ(semaphore_count(name), 1);
    {
        holding_helper second(helper(), {L"register", name});
        ASSERT_TRUE(second.ready());
        EXPECT_EQ(mine.count(), 2);
        EXPECT_EQ(semaphore_count(name), 2);
        EXPECT_EQ(mine.count(), 2);
        EXPECT_EQ(second.finish(), std::optional<DWORD>(0));
    }
    // The helper's unit went with it.
    EXPECT_EQ(mine.count(), 1);

    // A third process counts itself and this one.
    child_process reporter(helper(), {L"report", name});
    EXPECT_EQ(reporter.wait(), std::optional<DWORD>(102));

    mine.unregister();
    EXPECT_FALSE(mine.registered());
    EXPECT_EQ(mine.units(), 0);
    EXPECT_EQ(mine.count(), 0);
    EXPECT_EQ(semaphore_count(name), -1) << "the last handle is closed: the semaphore is gone";
}

TEST(InstanceCounter, ProcessThatCannotCreateTheSemaphoreMakesNoCount) {
    const std::wstring name = unique_name(L"blocked");
    // Something else already has the name.
    zu::unique_handle squatter = zu::create_secured_mutex(false, name.c_str());
    ASSERT_TRUE(squatter);
    child_process reporter(helper(), {L"report", name});
    EXPECT_EQ(reporter.wait(), std::optional<DWORD>(0)) << "not registered, and a count of 0";

    zu::instance_counter mine(name.c_str());
    EXPECT_FALSE(mine.registered());
    EXPECT_EQ(mine.units(), 0);
    EXPECT_EQ(mine.count(), 0);
}

TEST(InstanceCounter, UnregisteringTakesBackAllUnitsOrNone) {
    const std::wstring name = unique_name(L"units");
    zu::instance_counter mine(name.c_str());
    ASSERT_TRUE(mine.registered());
    // Another holder of the same semaphore took every unit: nothing to take back, so nothing is
    // taken and the units stay this process's.
    zu::unique_handle other(::OpenSemaphoreW(SEMAPHORE_ALL_ACCESS, FALSE, (zu::global_object_prefix() + name).c_str()));
    ASSERT_TRUE(other);
    ASSERT_EQ(::WaitForSingleObject(other.get(), 0), WAIT_OBJECT_0);
    mine.unregister();
    EXPECT_EQ(mine.units(), 1);
    LONG previous = -1;
    ASSERT_TRUE(::ReleaseSemaphore(other.get(), 1, &previous));
    EXPECT_EQ(previous, 0);
}

TEST(InstanceCounter, InstallerRegistersDuringStaticInitialisationUnderItsName) {
    const std::wstring name = zu::running_product_counter_name();
    zu::instance_counter mine(name.c_str());
    ASSERT_TRUE(mine.registered());
    ASSERT_EQ(mine.count(), 1) << "another process holds the installer's counter";
    {
        holding_helper installer(testing_support::beside_this_program(wide(ZU_STATIC_HELPER)), {});
        ASSERT_TRUE(installer.ready());
        EXPECT_EQ(mine.count(), 2);
        EXPECT_EQ(installer.finish(), std::optional<DWORD>(102));
    }
    EXPECT_EQ(mine.count(), 1) << "the unit goes back when the installer ends";
}
