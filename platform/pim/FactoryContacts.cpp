#include "pim/FactoryContacts.h"

#include "ce/pimstore.h"
#include "kernel/Trace.h"
#include "pim/ContactStore.h"
#include "pim/FactoryPictures.h"

namespace platform {

namespace {

// One row of the sample phone book; null columns are absent properties.
struct Row {
    const char16_t* first;
    const char16_t* last;
    const char16_t* company;
    const char16_t* mobile;
    const char16_t* home;
    const char16_t* work;
    const char16_t* email;
    const char16_t* categories;
    const char16_t* city;
    const char16_t* country;
    CEPROPID smartProp; // 0: none
    const char16_t* im1;
    uint32_t picture; // 0xRRGGBB of the picture, 0: none
};

constexpr Row kRows[] = {
    {u"Ann", u"Baker", nullptr, u"+44 7700 900123", u"+44 20 7946 0958", nullptr, u"ann.baker@example.co.uk", u"Favorites, Family", u"London", u"United Kingdom", 0, nullptr, 0x4F81BD},
    {u"Oliver", u"Hughes", u"Northwind Traders", u"07700 900456", nullptr, u"020 7946 0123", u"o.hughes@northwind.example", u"Business", u"London", u"United Kingdom", PIMPR_BUSINESS_TELEPHONE_NUMBER, nullptr, 0},
    {u"Siobhán", u"O'Connor", nullptr, u"+353 85 123 4567", nullptr, nullptr, u"siobhan.oconnor@example.ie", u"Friends", u"Dublin", u"Ireland", 0, u"FacebookID:1234567890123", 0xC0504D},
    {u"Seán", u"Ó Briain", u"Atlantic Ferries", u"+353 87 765 4321", nullptr, u"+353 1 555 0100", nullptr, u"Business", u"Galway", u"Ireland", 0, nullptr, 0},
    {u"Jürgen", u"Müller", u"Brennerei Müller GmbH", u"+49 171 1234567", u"030 1234567", u"+49 30 9876543", u"j.mueller@brennerei.example", u"Business", u"Berlin", u"Germany", PIMPR_MOBILE_TELEPHONE_NUMBER, nullptr, 0x9BBB59},
    {u"Käthe", u"Schröder", nullptr, u"0172 9876543", nullptr, nullptr, u"kaethe@example.de", u"Family, Favorites", u"Hamburg", u"Germany", 0, nullptr, 0},
    {u"François", u"Lefèvre", u"Café de la Gare", u"+33 6 12 34 56 78", u"01 23 45 67 89", nullptr, u"francois.lefevre@example.fr", u"Friends", u"Paris", u"France", 0, nullptr, 0xF79646},
    {u"Amélie", u"Dubois", nullptr, u"06 98 76 54 32", nullptr, nullptr, nullptr, u"Favorites", u"Lyon", u"France", 0, nullptr, 0},
    {u"José", u"García Pérez", u"Construcciones Iberia", u"+34 612 345 678", nullptr, u"+34 91 123 45 67", u"jgarcia@iberia.example", u"Business", u"Madrid", u"Spain", 0, nullptr, 0},
    {u"María", u"Fernández", nullptr, u"654 321 987", u"93 456 78 90", nullptr, u"maria.fernandez@example.es", u"Friends, Holiday Cards", u"Barcelona", u"Spain", 0, nullptr, 0x8064A2},
    {u"Giulia", u"Rossi", u"Studio Rossi", u"+39 347 123 4567", nullptr, u"+39 06 1234 5678", u"giulia@studiorossi.example", u"Business", u"Rome", u"Italy", 0, nullptr, 0},
    {u"Luca", u"Bianchi", nullptr, u"333 765 4321", nullptr, nullptr, nullptr, u"Friends", u"Milan", u"Italy", 0, nullptr, 0},
    {u"Pieter", u"van Dyke", u"Holland Bloemen BV", u"+31 6 12345678", u"020 123 4567", nullptr, u"pieter@bloemen.example", u"Business", u"Amsterdam", u"Netherlands", 0, nullptr, 0x4BACC6},
    {u"Sanne", u"de Vries", nullptr, u"06 87654321", nullptr, nullptr, u"sanne.devries@example.nl", u"Favorites, Friends", u"Utrecht", u"Netherlands", 0, nullptr, 0},
    {u"Björn", u"Lindqvist", u"Nordic Timber AB", u"+46 70 123 45 67", nullptr, u"+46 8 123 456 78", u"bjorn@nordictimber.example", u"Business", u"Stockholm", u"Sweden", 0, nullptr, 0},
    {u"Åsa", u"Ekström", nullptr, u"070 765 43 21", nullptr, nullptr, nullptr, u"Family", u"Göteborg", u"Sweden", 0, nullptr, 0x76923C},
    {u"Łukasz", u"Wiśniewski", u"Wisła Logistics", u"+48 601 234 567", nullptr, u"+48 22 123 45 67", u"l.wisniewski@wisla.example", u"Business", u"Warsaw", u"Poland", 0, nullptr, 0},
    {u"Zofia", u"Kowalczyk", nullptr, u"512 345 678", nullptr, nullptr, nullptr, u"Friends", u"Kraków", u"Poland", 0, nullptr, 0},
    {u"John", u"Smith", u"Contoso Ltd", u"+1 206 555 0142", u"(425) 555-0178", u"+1 206 555 0100", u"john.smith@contoso.example", u"Business, Favorites", u"Seattle", u"United States", PIMPR_BUSINESS_TELEPHONE_NUMBER, nullptr, 0x1F497D},
    {u"Mary", u"Johnson", nullptr, u"(212) 555-0199", u"(212) 555-0123", nullptr, u"mary.j@example.com", u"Family", u"New York", u"United States", 0, u"FacebookID:100004567890123", 0},
    {u"Robert", u"Williams", u"Fabrikam Inc.", u"+1 312 555 0111", nullptr, u"(312) 555-0150", u"rwilliams@fabrikam.example", u"Business", u"Chicago", u"United States", 0, nullptr, 0},
    {u"Patricia", u"Brown", nullptr, u"555-0134", nullptr, nullptr, u"pat.brown@example.com", u"Friends, Holiday Cards", u"Denver", u"United States", 0, nullptr, 0xE36C09},
    {u"Michael", u"O'Brien", u"Adventure Works", u"+1 415 555 0166", nullptr, u"+1 415 555 0160", nullptr, u"Business", u"San Francisco", u"United States", 0, nullptr, 0},
    {u"Linda", u"Davis", nullptr, u"+1 617 555 0187", u"+1 617 555 0181", nullptr, u"linda.davis@example.com", u"Favorites", u"Boston", u"United States", PIMPR_HOME_TELEPHONE_NUMBER, nullptr, 0},
    {u"Chloé", u"Tremblay", u"Érablière Tremblay", u"+1 514 555 0199", nullptr, u"(514) 555-0100", u"chloe@erabliere.example", u"Business", u"Montréal", u"Canada", 0, nullptr, 0x31859B},
    {u"Liam", u"MacDonald", nullptr, u"(604) 555-0147", nullptr, nullptr, nullptr, u"Friends", u"Vancouver", u"Canada", 0, nullptr, 0},
    {u"João", u"Silva", u"Café Brasil Ltda", u"+55 11 91234-5678", nullptr, u"+55 11 3123-4567", u"joao.silva@cafebrasil.example", u"Business", u"São Paulo", u"Brazil", 0, nullptr, 0},
    {u"Ana", u"Conceição", nullptr, u"(21) 98765-4321", nullptr, nullptr, u"ana.conceicao@example.com.br", u"Friends", u"Rio de Janeiro", u"Brazil", 0, nullptr, 0x953734},
    {u"Hiroshi", u"Tanaka", u"Sakura Electronics", u"+81 90 1234 5678", nullptr, u"+81 3 1234 5678", u"tanaka@sakura.example", u"Business", u"Tokyo", u"Japan", 0, nullptr, 0},
    {u"Yuki", u"Sato", nullptr, u"080-9876-5432", nullptr, nullptr, nullptr, u"Friends", u"Osaka", u"Japan", 0, nullptr, 0},
    {u"Olivia", u"Wilson", nullptr, u"+61 412 345 678", u"(02) 9876 5432", nullptr, u"olivia.wilson@example.com.au", u"Family, Holiday Cards", u"Sydney", u"Australia", 0, nullptr, 0x5F497A},
    {u"Jack", u"Taylor", u"Outback Tours Pty", u"0423 456 789", nullptr, u"+61 8 8123 4567", nullptr, u"Business", u"Adelaide", u"Australia", 0, nullptr, 0},
    {u"Søren", u"Jørgensen", nullptr, u"+45 20 12 34 56", nullptr, nullptr, u"soren@example.dk", u"Friends", u"København", u"Denmark", 0, nullptr, 0},
    {u"Ingrid", u"Hansen", u"Fjord Fisk AS", u"+47 912 34 567", nullptr, u"+47 22 12 34 56", u"ingrid@fjordfisk.example", u"Business", u"Oslo", u"Norway", 0, nullptr, 0},
    {u"Aino", u"Virtanen", nullptr, u"+358 40 123 4567", nullptr, nullptr, nullptr, u"Friends", u"Helsinki", u"Finland", 0, nullptr, 0x88E1FF},
    {u"Dimitris", u"Papadopoulos", u"Aegean Olive Co.", u"+30 691 234 5678", nullptr, u"+30 21 0123 4567", nullptr, u"Business", u"Athens", u"Greece", 0, nullptr, 0},
    {u"Zoë", u"Müller-Lüdenscheidt", nullptr, u"+41 79 123 45 67", u"044 123 45 67", nullptr, u"zoe.ml@example.ch", u"Family", u"Zürich", u"Switzerland", 0, nullptr, 0},
    {u"Andrés", u"Núñez", nullptr, u"+52 55 1234 5678", nullptr, nullptr, u"andres.nunez@example.mx", u"Friends", u"Ciudad de México", u"Mexico", 0, nullptr, 0},
    {u"Priya", u"Sharma", u"Lotus Software Services", u"+91 98765 43210", nullptr, u"+91 80 1234 5678", u"priya.sharma@lotus.example", u"Business", u"Bengaluru", u"India", 0, nullptr, 0x366092},
    {u"Chen", u"Wei", nullptr, u"+86 139 1234 5678", nullptr, nullptr, nullptr, u"Business", u"Shanghai", u"China", 0, nullptr, 0},
    {u"Fatima", u"Al-Sayed", nullptr, u"+971 50 123 4567", nullptr, nullptr, u"fatima.alsayed@example.ae", u"Friends", u"Dubai", u"United Arab Emirates", 0, nullptr, 0},
    {u"Thabo", u"Nkosi", u"Highveld Mining", u"+27 82 123 4567", nullptr, u"+27 11 123 4567", nullptr, u"Business", u"Johannesburg", u"South Africa", 0, nullptr, 0},
    {u"Emma", u"Thompson", nullptr, u"07911 123456", u"0161 496 0000", nullptr, u"emma.t@example.co.uk", u"Favorites, Family", u"Manchester", u"United Kingdom", PIMPR_MOBILE_TELEPHONE_NUMBER, nullptr, 0x9BBB59},
    {u"Harry", u"Evans", nullptr, u"07700 900789", nullptr, nullptr, nullptr, u"Friends", u"Cardiff", u"United Kingdom", 0, nullptr, 0},
    {u"Isla", u"MacLeod", u"Highland Distillers", u"+44 7700 900321", nullptr, u"+44 131 496 0000", u"isla@highland.example", u"Business", u"Edinburgh", u"United Kingdom", 0, nullptr, 0},
    {u"Noah", u"Walker", nullptr, u"+44 7700 900654", nullptr, nullptr, nullptr, u"Family", u"Bristol", u"United Kingdom", 0, nullptr, 0},
    {u"Grace", u"D'Souza", nullptr, u"+44 7700 900987", nullptr, nullptr, u"grace.dsouza@example.com", u"Friends", u"Leeds", u"United Kingdom", 0, nullptr, 0xC0504D},
    {u"Maximilian", u"Gruber", u"Alpen Ski Schule", u"+43 664 1234567", nullptr, u"+43 512 123456", u"max@alpenski.example", u"Business, Holiday Cards", u"Innsbruck", u"Austria", 0, nullptr, 0},
    {u"Éloïse", u"Lambert", nullptr, u"+32 470 12 34 56", nullptr, nullptr, nullptr, u"Friends", u"Bruxelles", u"Belgium", 0, nullptr, 0},
    {u"Tomás", u"Ferreira", nullptr, u"+351 912 345 678", nullptr, nullptr, u"tomas.ferreira@example.pt", u"Family", u"Lisboa", u"Portugal", 0, nullptr, 0},
    // Companies and services without a person's name.
    {nullptr, nullptr, u"City Taxi", nullptr, nullptr, u"+44 20 7946 0000", nullptr, u"Business", u"London", u"United Kingdom", 0, nullptr, 0},
    {nullptr, nullptr, u"Dr. Patel's Surgery", nullptr, nullptr, u"020 7946 0555", nullptr, u"Personal", u"London", u"United Kingdom", 0, nullptr, 0},
    {nullptr, nullptr, u"Pizzeria Bella Napoli", nullptr, nullptr, u"+44 20 7946 0777", nullptr, u"Personal, Favorites", u"London", u"United Kingdom", 0, nullptr, 0},
    {nullptr, nullptr, u"Roadside Assistance", u"0800 123 456", nullptr, nullptr, nullptr, u"Personal", nullptr, nullptr, 0, nullptr, 0},
    // E-mail only.
    {u"Nora", u"Lindgren", nullptr, nullptr, nullptr, nullptr, u"nora.lindgren@example.se", u"Friends", nullptr, nullptr, 0, nullptr, 0},
    {u"Kenji", u"Watanabe", u"Sakura Electronics", nullptr, nullptr, nullptr, u"k.watanabe@sakura.example", u"Business", nullptr, nullptr, 0, nullptr, 0},
    {u"Rosa", u"Martínez", nullptr, nullptr, nullptr, nullptr, u"rosa.martinez@example.es", nullptr, nullptr, nullptr, 0, nullptr, 0},
    {nullptr, nullptr, u"Newsletter Desk", nullptr, nullptr, nullptr, u"newsletter@example.org", nullptr, nullptr, nullptr, 0, nullptr, 0},
    // Only a first name, or only a last name.
    {u"Mum", nullptr, nullptr, u"+44 7700 900111", u"+44 1632 960000", nullptr, nullptr, u"Family, Favorites", nullptr, nullptr, PIMPR_MOBILE_TELEPHONE_NUMBER, nullptr, 0xF79646},
    {nullptr, u"Okonkwo", nullptr, u"+234 803 123 4567", nullptr, nullptr, nullptr, u"Friends", u"Lagos", u"Nigeria", 0, nullptr, 0},
};

// "Last, First", or whichever part there is, or the company.
std::u16string FileAs(const Row& row) {
    std::u16string fileAs;
    if (row.last)
        fileAs = row.last;
    if (row.first)
        fileAs += (fileAs.empty() ? u"" : u", ") + std::u16string(row.first);
    if (fileAs.empty() && row.company)
        fileAs = row.company;
    if (fileAs.empty() && row.email)
        fileAs = row.email;
    return fileAs;
}

void Put(ContactRecord& record, CEPROPID tag, const char16_t* text) {
    if (text)
        record.values[tag] = std::u16string(text);
}

ContactRecord FromRow(const Row& row) {
    ContactRecord record;
    record.values[PIMPR_FILEAS] = FileAs(row);
    Put(record, PIMPR_FIRST_NAME, row.first);
    Put(record, PIMPR_LAST_NAME, row.last);
    Put(record, PIMPR_COMPANY_NAME, row.company);
    Put(record, PIMPR_MOBILE_TELEPHONE_NUMBER, row.mobile);
    Put(record, PIMPR_HOME_TELEPHONE_NUMBER, row.home);
    Put(record, PIMPR_BUSINESS_TELEPHONE_NUMBER, row.work);
    Put(record, PIMPR_EMAIL1_ADDRESS, row.email);
    Put(record, PIMPR_CATEGORIES, row.categories);
    Put(record, row.company && row.first ? PIMPR_BUSINESS_ADDRESS_CITY : PIMPR_HOME_ADDRESS_CITY, row.city);
    Put(record, row.company && row.first ? PIMPR_BUSINESS_ADDRESS_COUNTRY : PIMPR_HOME_ADDRESS_COUNTRY,
        row.country);
    Put(record, PIMPR_IM1_ADDRESS, row.im1);
    if (row.smartProp)
        record.values[PIMPR_SMARTPROP] = uint32_t(row.smartProp);
    return record;
}

constexpr uint32_t kPictureSide = 64;

} // namespace

std::vector<ContactRecord> FactoryContacts::Records() {
    std::vector<ContactRecord> records;
    for (const Row& row : kRows) {
        records.push_back(FromRow(row));
        if (row.picture) {
            std::vector<uint8_t> jpeg = FactoryPictures::Silhouette(row.picture, kPictureSide);
            if (!jpeg.empty())
                records.back().values[PIMPR_PICTURE] = std::move(jpeg);
        }
    }
    return records;
}

bool FactoryContacts::Install() {
    std::vector<ContactRecord> records = Records();
    std::string error;
    if (!ContactStore::Instance().Insert(records, error)) {
        Trace("pim", "the factory contacts were not stored: %s", error.c_str());
        return false;
    }
    Trace("pim", "factory contacts stored: %zu", records.size());
    return true;
}

} // namespace platform
