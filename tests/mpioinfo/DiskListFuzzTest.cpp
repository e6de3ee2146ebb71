// Seeded disk interfaces and devices for the MPIO disk list: paths of every length around the
// 260-character path limit, with "MPIO" missing, in odd places or in mixed case, non-ASCII
// bytes, empty paths, devices that cannot be opened or numbered, devices without properties.
// The listing must print the documented lines and build the documented list, and close
// every set and device it opened.
#include <cctype>
#include <cstdint>

#include "DiskList.h"
#include "FakeDevices.h"
#include "QdsmTest.h"
#include "SeedOnCrash.h"
#include "SeededCases.h"

using namespace testing_support;

namespace {

constexpr int kCases = 600;
constexpr uint32_t kBaseSeed = 9400;
constexpr size_t kKeyField = 259;       // the characters a record's key holds
constexpr size_t kDeviceText = 259;     // the characters an identifier or property read can give
const std::string kGuid = "{53f56307-b6bf-11d0-94f2-00a0c91efb8b}";
const std::string kPartLetters = "abcdefghijklmnopqrstuvwxyz0123456789&_.-";

std::string ComputerName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    ::GetComputerNameA(name, &size);
    return name;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class Generator {
public:
    explicit Generator(SeededRandom& random) : random_(random) {}

    FakeDevices Make() {
        FakeDevices devices;
        devices.setFails = random_.Chance(3);
        for (int i = random_.Int(0, 6); i > 0; --i) devices.interfaces.push_back(Interface());
        for (const FakeInterface& entry : devices.interfaces) {
            // Most disks of MPIO have their device; some devices match nothing.
            if (random_.Chance(70)) devices.devices.push_back(Device(entry.path));
        }
        for (int i = random_.Int(0, 2); i > 0; --i) devices.devices.push_back(Device(RandomPath()));
        // The device pass goes in its own order.
        for (size_t i = devices.devices.size(); i > 1; --i)
            std::swap(devices.devices[i - 1], devices.devices[static_cast<size_t>(random_.Int(0, static_cast<int>(i) - 1))]);
        return devices;
    }

private:
    std::string Part(size_t length) { return random_.Text(length, kPartLetters); }

    // Bytes of any value but zero, the odd "#", "\" and "{" among them.
    std::string Wild(size_t length) {
        std::string text = random_.Bytes(length);
        for (char& c : text) {
            if (random_.Chance(5)) c = random_.Pick(std::vector<char>{'#', '\\', '{', '}'});
        }
        return text;
    }

    std::string RandomPath() {
        std::string model = "disk&ven_" + Part(static_cast<size_t>(random_.Int(1, 8))) + "&prod_" +
                            Part(static_cast<size_t>(random_.Int(1, 16))) + "&rev_" + Part(4);
        std::string instance = Part(static_cast<size_t>(random_.Int(1, 20)));
        switch (random_.Int(0, 11)) {
            case 0: return "";
            case 1: return "\\\\?\\scsi#" + model + "#" + instance + "#" + kGuid;                 // no MPIO at all
            case 2: return "\\\\?\\Mpio#" + model + "#" + instance + "#" + kGuid;                 // mixed case only
            case 3: return "\\\\?\\scsi#" + model + "#MPIO" + instance + "#" + kGuid;             // in the instance
            case 4: return "\\\\?\\scsi#" + model + "#" + instance + "#{mpio-" + Part(8) + "}";   // only after the brace
            case 5: return "\\\\?\\mpio#\\" + model + "#\\" + instance + "#" + kGuid;             // "#" before "\"
            case 6: return "mpio";                                                                // the word alone
            case 7: {                                                                             // around 260 characters
                std::string path = "\\\\?\\mpio#" + model + "#" + instance;
                size_t target = random_.Pick(std::vector<size_t>{258, 259, 260, 261, 262, 300, 520, 1000});
                if (random_.Chance(50)) return path + Part(target > path.size() ? target - path.size() : 0) + "#" + kGuid;
                path += "#" + kGuid;
                return path + Part(target > path.size() ? target - path.size() : 0);
            }
            case 8:  // non-ASCII bytes in the model and instance
                return "\\\\?\\mpio#" + model + "\xE9\xFC\x80\xFF" + "#" + instance + "\xC4" + "#" + kGuid;
            case 9: {  // anything, with the word somewhere
                std::string text = Wild(random_.EdgeLength(260));
                size_t at = static_cast<size_t>(random_.Int(0, static_cast<int>(text.size())));
                return text.insert(at, random_.Chance(50) ? "mpio" : "MPIO");
            }
            case 10: return Wild(random_.EdgeLength(260));
            default: return "\\\\?\\mpio#" + model + "#" + instance + "#" + kGuid;  // the usual form
        }
    }

    FakeInterface Interface() {
        FakeInterface entry;
        entry.path = RandomPath();
        entry.detailFails = random_.Chance(3);
        if (random_.Chance(10)) entry.openError = random_.Pick(std::vector<DWORD>{ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION, 2, 0xC0000022});
        if (random_.Chance(85)) {
            DeviceNumber number;
            number.deviceType = random_.Chance(80) ? FILE_DEVICE_DISK : static_cast<DWORD>(random_.Int(0, 0x40));
            number.deviceNumber = random_.Chance(85) ? random_.Int(0, 64) : random_.Pick(std::vector<int>{-1, -2, INT32_MIN});
            number.partitionNumber = random_.Chance(85) ? random_.Int(0, 8) : -1;
            entry.number = number;
        }
        return entry;
    }

    // The identifier the device pass would give for a path: the key's form without the
    // "\\?\" in front, or a random part of it, or something else.
    std::string IdentifierFor(const std::string& path) {
        std::string id;
        size_t brace = path.find('{');
        for (size_t i = path.rfind("\\\\?\\", 0) == 0 ? 4 : 0; i < path.size() && i < brace; ++i) {
            char c = path[i];
            if (c == '#') {
                if (i + 1 < path.size() && path[i + 1] == '\\') continue;
                id += '\\';
            } else {
                id += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            }
        }
        while (!id.empty() && id.back() == '\\') id.pop_back();
        switch (random_.Int(0, 5)) {
            case 0: {  // a piece of it, which may or may not still hold the word
                if (id.empty()) break;
                size_t from = static_cast<size_t>(random_.Int(0, static_cast<int>(id.size()) - 1));
                id = id.substr(from, static_cast<size_t>(random_.Int(1, static_cast<int>(id.size() - from))));
                break;
            }
            case 1: id = "MPIO\\DISK&" + Part(static_cast<size_t>(random_.Int(0, 30))); break;
            case 2: id = Wild(random_.EdgeLength(kDeviceText)); break;
            default: break;
        }
        return id.substr(0, kDeviceText);
    }

    FakeDevice Device(const std::string& path) {
        FakeDevice device;
        device.instanceId = IdentifierFor(path);
        device.idFails = random_.Chance(5);
        if (random_.Chance(8)) device.description.reset();
        switch (random_.Int(0, 5)) {
            case 0: break;  // no object name
            case 1: device.objectName = "\\Device\\MPIODisk"; break;
            case 2: device.objectName = "\\Device\\X" + std::to_string(random_.Int(0, 999)) + "Y7"; break;
            case 3: device.objectName = random_.Text(random_.EdgeLength(kDeviceText), "\\DevicMPIOisk-+ "); break;
            default: device.objectName = "\\Device\\MPIODisk" + std::to_string(random_.Int(0, 999999999)); break;
        }
        return device;
    }

    SeededRandom& random_;
};

// What the listing must print and keep, worked out from the documented steps.
struct Listing {
    std::string out;
    bool hasList = false;
    std::vector<MpioDiskRecord> records;
    std::vector<std::string> opened;
};

std::string OracleKey(const std::string& path) {
    std::string key;
    for (size_t i = 0; i < path.size() && path[i] != '{'; ++i) {
        if (path[i] == '#') {
            if (i + 1 < path.size() && path[i + 1] == '\\') continue;
            key += '\\';
        } else {
            key += (path[i] >= 'a' && path[i] <= 'z') ? static_cast<char>(path[i] - 'a' + 'A') : path[i];
        }
    }
    return key.substr(0, kKeyField);
}

int OracleNumber(const std::string& name) {
    size_t digit = name.find_first_of("0123456789");
    if (digit == std::string::npos) return -1;
    int number = 0;
    for (size_t i = digit; i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i) number = number * 10 + (name[i] - '0');
    return number;
}

Listing Expect(const FakeDevices& devices) {
    Listing listing;
    if (devices.setFails) return listing;
    for (const FakeInterface& entry : devices.interfaces) {
        if (entry.detailFails) {
            listing.out += "PrintDeviceInfo: Error in SetupDiGetInterfaceDeviceDetail\n";
            listing.hasList = false;
            listing.records.clear();
            return listing;
        }
        if (!Contains(entry.path, "mpio") && !Contains(entry.path, "MPIO")) continue;
        if (!listing.hasList) listing.out += "List of MPIO disks in the system " + ComputerName() + "\n";
        listing.hasList = true;
        listing.opened.push_back(entry.path);
        MpioDiskRecord record;
        const FakeInterface* opened = nullptr;  // the fake opens the first interface of that path
        for (const FakeInterface& same : devices.interfaces)
            if (same.path == entry.path) {
                opened = &same;
                break;
            }
        if (opened->openError != 0) {
            listing.out += "PrintDeviceInfo: Failed to open " + entry.path + ". Error: " +
                           std::to_string(static_cast<int>(opened->openError)) + "\n";
        } else {
            record.key = OracleKey(entry.path);
            const std::optional<DeviceNumber>& number = opened->number;
            bool disk = number && number->deviceType == FILE_DEVICE_DISK && number->deviceNumber >= 0 &&
                        number->partitionNumber >= 0;
            record.hardDiskNumber = disk ? static_cast<int>(number->deviceNumber) : -1;
            record.mpioDiskNumber = -1;
        }
        listing.records.push_back(record);
    }
    if (!listing.hasList) return listing;
    for (const FakeDevice& device : devices.devices) {
        if (device.idFails || !Contains(device.instanceId, "MPIO") || !device.description) continue;
        for (MpioDiskRecord& record : listing.records) {
            if (!Contains(record.key, device.instanceId)) continue;
            record.key = device.instanceId;
            record.mpioDiskNumber = OracleNumber(device.objectName.value_or(""));
            listing.out += "Harddisk Name  : Harddisk" + std::to_string(record.hardDiskNumber) + "\n";
            listing.out += "MPIO Disk Name : MPIODisk" + std::to_string(record.mpioDiskNumber) + "\n";
            listing.out += "     Disk interface name: " + device.instanceId + "\n\n";
            break;
        }
    }
    listing.out += "Number of listed MPIO disk(s) " + std::to_string(listing.records.size());
    return listing;
}

class DiskListFuzz : public QdsmTest {};

}  // namespace

TEST_F(DiskListFuzz, InterfacePathsOfEveryShapeGiveTheDocumentedList) {
    for (const SeededCase& c : SeededCaseList(kBaseSeed, kCases)) {
        SCOPED_TRACE(c.Name());
        SeedOnCrash crash(c);
        SeededRandom random(c.seed);
        FakeDevices devices = Generator(random).Make();
        Listing expected = Expect(devices);
        ClearOutput();

        std::unique_ptr<MpioDiskList> list = PrintDeviceInfo(devices);

        EXPECT_EQ(Out(), expected.out);
        EXPECT_EQ(Err(), "");
        ASSERT_EQ(list != nullptr, expected.hasList);
        if (list) {
            ASSERT_EQ(list->Count(), static_cast<int>(expected.records.size()));
            for (size_t i = 0; i < expected.records.size(); ++i) {
                SCOPED_TRACE("record " + std::to_string(i));
                EXPECT_EQ(list->records[i].key, expected.records[i].key);
                EXPECT_LE(list->records[i].key.size(), kKeyField);
                EXPECT_EQ(list->records[i].hardDiskNumber, expected.records[i].hardDiskNumber);
                EXPECT_EQ(list->records[i].mpioDiskNumber, expected.records[i].mpioDiskNumber);
            }
        }
        EXPECT_EQ(devices.opened, expected.opened);
        // Every set and every device the listing opened is closed again.
        EXPECT_EQ(devices.openSets, 0);
        EXPECT_EQ(devices.openDisks, 0);
        if (HasFailure()) break;  // the first failing seed says it all
    }
}
