#include "bench/synthetic_store.h"

#include "common/basic_number.h"
#include "common/dates.h"
#include "common/format_picture.h"
#include "common/run_error.h"
#include "common/text_file.h"
#include "store/account_count.h"
#include "store/account_record.h"
#include "store/month_files.h"
#include "store/transaction_record.h"

#include <fstream>
#include <random>
#include <vector>

namespace bench {

using namespace common;
namespace custrec = store::account;
namespace transrec = store::transaction;
using store::monthCode;

void writeSyntheticStore(int32_t accounts, QDate today, uint32_t seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<int> cents(1000, 300000);
    std::vector<QDate> months;
    for (int k = 12; k >= 1; --k) months.push_back(QDate(today.year(), today.month(), 1).addMonths(-k));

    struct Kind {
        bool balance, layaway, noInterest;
    };
    std::vector<Kind> kinds(static_cast<size_t>(accounts));
    for (auto& k : kinds) {
        const int r = percent(rng);
        k.balance = r < 40;
        k.layaway = r >= 40 && r < 45;
        k.noInterest = r >= 45 && r < 48;
    }

    // Month m holds record a for account a; each points back at the month before.
    for (size_t m = 0; m < months.size(); ++m) {
        std::string file(static_cast<size_t>(accounts) * transrec::length, ' ');
        const std::string code = monthCode(months[m]);
        const std::string prev = m > 0 ? monthCode(months[m - 1]) : "";
        for (int32_t a = 1; a <= accounts; ++a) {
            std::string t(transrec::length, ' ');
            const Kind& k = kinds[static_cast<size_t>(a - 1)];
            const QDate day = months[m].addDays((a * 7 + static_cast<int>(m)) % 27);
            const bool interest = k.balance && m % 3 == 2;
            storeField(t, transrec::acctno, std::to_string(a));
            storeField(t, transrec::prevfile, prev);
            storeField(t, transrec::prevrec, m > 0 ? std::to_string(a) : "0");
            storeField(t, transrec::descr, interest ? "Interest" : k.layaway ? "Layaway payment" : "Merchandise");
            storeField(t, transrec::amount, formatPicture(Money::fromTicks(cents(rng) * 100), "#####.00"));
            storeField(t, transrec::txdate, shortDateText(day));
            storeField(t, transrec::txtype, k.layaway ? "~" : (m % 4 == 3 ? "P" : "A"));
            storeField(t, transrec::txrating, "1");
            file.replace(static_cast<size_t>(a - 1) * transrec::length, transrec::length, t);
        }
        std::ofstream(code + ".dat", std::ios::binary) << file;
        writeLines(code + ".ptn", {str(static_cast<double>(accounts))});
    }

    std::string custFile(static_cast<size_t>(accounts) * custrec::length, ' ');
    const std::string last = monthCode(months.back());
    for (int32_t a = 1; a <= accounts; ++a) {
        const Kind& k = kinds[static_cast<size_t>(a - 1)];
        std::string r(custrec::length, ' ');
        storeField(r, custrec::name1, "NAME" + std::to_string(a));
        storeField(r, custrec::name2, "First");
        storeField(r, custrec::lasttxfile, last);
        storeField(r, custrec::lasttxrec, std::to_string(a));
        const bool owes = k.balance || k.layaway || k.noInterest;
        storeField(r, custrec::balance, owes ? generalFormat(Money::fromTicks(cents(rng) * 100)) : "0");
        storeField(r, custrec::phone, "555-" + std::to_string(1000 + a % 9000));
        storeField(r, custrec::acctno, std::to_string(a));
        storeField(r, custrec::rating, std::to_string(1 + a % 6));
        storeField(r, custrec::nointerest, k.noInterest ? (a % 2 ? "99" : "2") : "");
        custFile.replace(static_cast<size_t>(a - 1) * custrec::length, custrec::length, r);
    }
    std::ofstream("cust.dat", std::ios::binary) << custFile;
    store::writeAccountCount(accounts);
}

} // namespace bench
