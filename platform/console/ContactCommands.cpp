// contact add | set | delete | list | show | import | beamed: the phone book from the
// console. Changes made here reach logged-on programs as REMOTE notifications.
#include "ce/pimstore.h"
#include "ce/winerror.h"
#include "console/ConsoleFormat.h"
#include "console/DeviceCommands.h"
#include "console/Tokenizer.h"
#include "kernel/Utf.h"
#include "pim/BeamLog.h"
#include "pim/ContactDates.h"
#include "pim/ContactFields.h"
#include "pim/ContactStore.h"
#include "pim/DeviceFileReader.h"
#include "pim/PimNotifier.h"
#include "pim/VCardImporter.h"

namespace platform {

namespace {

constexpr DWORD kOrigin = PimNotifier::kConsoleOrigin;

// Short names of the phone numbers in `contact list`, in ContactFields::PhoneTags order.
constexpr const char* kPhoneKinds[] = {"mobile", "home", "work",      "home2",   "work2",
                                       "sim",    "car",  "assistant", "company", "radio"};

bool IsPicture(const std::string& bytes) {
    return (bytes.size() >= 3 && bytes.compare(0, 3, "\xFF\xD8\xFF") == 0) ||
           (bytes.size() >= 8 && bytes.compare(0, 8, "\x89PNG\r\n\x1A\n") == 0);
}

// Reads the value of `field` from its console text into `value`; false with a reason.
bool ParseValue(const ContactField& field, const std::string& text, ContactValue& value,
                std::string& error) {
    switch (ContactFields::KindOf(field.tag)) {
    case ContactValueKind::Text: {
        std::u16string converted = FromUtf8(text);
        if (converted.size() > kMaxContactText) {
            error = std::string(field.name) + " too long";
            return false;
        }
        value = std::move(converted);
        return true;
    }
    case ContactValueKind::Number: {
        if (const ContactField* named = ContactFields::ByName(text)) {
            value = uint32_t(named->tag);
            return true;
        }
        int64_t number = 0;
        if (!Tokenizer::ParseNumber(text, 0, 0xFFFFFFFFll, number)) {
            error = std::string(field.name) + " needs a field name or a number";
            return false;
        }
        value = uint32_t(number);
        return true;
    }
    case ContactValueKind::Time: {
        uint64_t fileTime = 0;
        if (!ContactDates::Parse(text, fileTime)) {
            error = std::string(field.name) + " needs a date YYYY-MM-DD";
            return false;
        }
        value = fileTime;
        return true;
    }
    case ContactValueKind::Bytes: {
        std::string bytes;
        DWORD failure = 0;
        if (!ReadDeviceFile(FromUtf8(text), kMaxContactPicture, bytes, failure)) {
            error = ConsoleFormat::ErrorText(failure) + ": " + text;
            return false;
        }
        if (!IsPicture(bytes)) {
            error = "not a JPEG or PNG picture: " + text;
            return false;
        }
        value = std::vector<uint8_t>(bytes.begin(), bytes.end());
        return true;
    }
    default:
        error = std::string(field.name) + " cannot be set";
        return false;
    }
}

// Applies FIELD=VALUE arguments (from `first` on) to `record`; an empty value removes.
bool ApplyAssignments(const Console::Arguments& args, size_t first, ContactRecord& record,
                      std::string& error) {
    for (size_t i = first; i < args.size(); ++i) {
        size_t equals = args[i].find('=');
        if (equals == std::string::npos || equals == 0) {
            error = "expected FIELD=VALUE: " + args[i];
            return false;
        }
        std::string name = args[i].substr(0, equals), text = args[i].substr(equals + 1);
        const ContactField* field = ContactFields::ByName(name);
        if (!field || !ContactFields::IsWritable(field->tag)) {
            error = "unknown field " + name;
            return false;
        }
        if (text.empty()) {
            record.values.erase(field->tag);
            continue;
        }
        ContactValue value;
        if (!ParseValue(*field, text, value, error))
            return false;
        record.values[field->tag] = std::move(value);
    }
    return true;
}

bool ParseOid(const std::string& text, CEOID& oid) {
    int64_t number = 0;
    if (!Tokenizer::ParseNumber(text, 1, 0xFFFFFFFFll, number))
        return false;
    oid = CEOID(number);
    return true;
}

// FILEAS, else "First Last", else the company, else the first e-mail address.
std::u16string DisplayText(const ContactRecord& record) {
    if (const std::u16string* fileAs = record.Text(PIMPR_FILEAS))
        return *fileAs;
    std::u16string name;
    for (CEPROPID tag : {PIMPR_FIRST_NAME, PIMPR_LAST_NAME})
        if (const std::u16string* part = record.Text(tag))
            name += (name.empty() ? u"" : u" ") + *part;
    if (!name.empty())
        return name;
    for (CEPROPID tag : {PIMPR_COMPANY_NAME, PIMPR_EMAIL1_ADDRESS})
        if (const std::u16string* text = record.Text(tag))
            return *text;
    return {};
}

std::string FormatValue(CEPROPID tag, const ContactValue& value) {
    if (auto* text = std::get_if<std::u16string>(&value))
        return ConsoleFormat::Word(*text);
    if (auto* number = std::get_if<uint32_t>(&value)) {
        if (const ContactField* named = ContactFields::ByTag(*number))
            return named->name;
        char buffer[16];
        snprintf(buffer, sizeof buffer, "0x%08X", *number);
        return buffer;
    }
    if (auto* time = std::get_if<uint64_t>(&value))
        return ContactDates::Format(*time);
    return "\"<" + std::to_string(std::get<std::vector<uint8_t>>(value).size()) + " bytes>\"";
}

CommandResult Add(const Console::Arguments& args, ConsoleOutput& out) {
    if (args.empty())
        return CommandResult::Usage();
    ContactRecord record;
    std::string error;
    if (!ApplyAssignments(args, 0, record, error))
        return CommandResult::Error(error);
    if (record.values.empty())
        return CommandResult::Error("no field given");
    if (!ContactStore::Instance().Save(record, kOrigin, error))
        return CommandResult::Error(error);
    out.Printf("oid %lu", (unsigned long)record.oid);
    return CommandResult::Ok();
}

CommandResult Set(const Console::Arguments& args, ConsoleOutput&) {
    CEOID oid = 0;
    if (args.size() < 2 || !ParseOid(args[0], oid))
        return CommandResult::Usage();
    auto record = ContactStore::Instance().Load(oid);
    if (!record)
        return CommandResult::Error("no contact " + args[0]);
    std::string error;
    if (!ApplyAssignments(args, 1, *record, error) ||
        !ContactStore::Instance().Save(*record, kOrigin, error))
        return CommandResult::Error(error);
    return CommandResult::Ok();
}

CommandResult Delete(const Console::Arguments& args, ConsoleOutput&) {
    CEOID oid = 0;
    if (args.size() != 1 || !ParseOid(args[0], oid))
        return CommandResult::Usage();
    std::string error;
    if (!ContactStore::Instance().Delete(oid, kOrigin, error))
        return CommandResult::Error(error);
    return CommandResult::Ok();
}

CommandResult List(const Console::Arguments& args, ConsoleOutput& out) {
    if (!args.empty())
        return CommandResult::Usage();
    for (CEOID oid : ContactStore::Instance().Oids()) {
        auto record = ContactStore::Instance().Load(oid);
        if (!record)
            continue; // deleted between the two reads
        std::string line = std::to_string(oid) + " " + ConsoleFormat::Quoted(DisplayText(*record));
        auto phones = ContactFields::PhoneTags();
        for (size_t i = 0; i < phones.size(); ++i)
            if (const std::u16string* number = record->Text(phones[i]))
                line += std::string(" ") + kPhoneKinds[i] + "=" + ConsoleFormat::Word(*number);
        out.Line(line);
    }
    return CommandResult::Ok();
}

CommandResult Show(const Console::Arguments& args, ConsoleOutput& out) {
    CEOID oid = 0;
    if (args.size() != 1 || !ParseOid(args[0], oid))
        return CommandResult::Usage();
    auto record = ContactStore::Instance().Load(oid);
    if (!record)
        return CommandResult::Error("no contact " + args[0]);
    for (const ContactField& field : ContactFields::All()) {
        auto found = record->values.find(field.tag);
        if (found != record->values.end())
            out.Line(std::string(field.name) + "=" + FormatValue(field.tag, found->second));
    }
    return CommandResult::Ok();
}

CommandResult Import(const Console::Arguments& args, ConsoleOutput& out) {
    if (args.size() != 1)
        return CommandResult::Usage();
    VCardImportResult result;
    DWORD error = 0;
    if (!VCardImporter::ImportFile(FromUtf8(args[0]), kOrigin, result, error))
        return CommandResult::Error(ConsoleFormat::ErrorText(error) + ": " + args[0]);
    for (const auto& skipped : result.skipped)
        out.Printf("skipped card %zu: %s", skipped.card, skipped.reason.c_str());
    out.Printf("imported %zu, skipped %zu", result.imported, result.skipped.size());
    return CommandResult::Ok();
}

CommandResult Beamed(const Console::Arguments& args, ConsoleOutput& out) {
    if (!args.empty())
        return CommandResult::Usage();
    for (const BeamedContact& beamed : BeamLog::Instance().Drain())
        out.Line(std::to_string(beamed.oid) + " " + ConsoleFormat::Quoted(beamed.name));
    return CommandResult::Ok();
}

} // namespace

void RegisterContactCommands(Console& console) {
    console.Register("contact add", "FIELD=VALUE ...", Add);
    console.Register("contact set", "OID FIELD=VALUE ...", Set);
    console.Register("contact delete", "OID", Delete);
    console.Register("contact list", "", List);
    console.Register("contact show", "OID", Show);
    console.Register("contact import", "FILE.vcf", Import);
    console.Register("contact beamed", "", Beamed);
}

} // namespace platform
