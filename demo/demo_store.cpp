#include "demo/demo_store.h"

#include "appraise/worksheet/grade_system_setting.h"

#include "appraise/printing/inserts.h"

#include "common/format_picture.h"
#include "store/account_count.h"
#include "store/account_record.h"
#include "store/last_posting.h"
#include "store/month_files.h"
#include "store/transaction_record.h"

#include "common/basic_number.h"
#include "common/dates.h"
#include "common/file_names.h"
#include "common/fixed_field.h"
#include "common/record_file.h"
#include "common/run_error.h"
#include "common/text_file.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <map>
#include <vector>

namespace demo {

using namespace common;
namespace custrec = store::account;
namespace transrec = store::transaction;
using store::monthCode;

namespace {
struct Person {
    const char *last, *first, *street, *city, *phone;
    double balance;
    int rating;
    const char* nointerest;
    bool layaway;
};

const Person people[] = {
    {"ADAMS", "Ann", "12 Main St", "Anytown", "555-0101", 1250.00, 1, "", false},
    {"BAKER", "Robert", "48 Oak Ave", "Anytown", "555-0102", 0, 1, "", false},
    {"CARTER", "Linda", "7 Elm St", "Millbrook", "555-0103", 342.18, 2, "", false},
    {"DIAZ", "Maria", "301 Pine Rd", "Anytown", "555-0104", 2875.40, 3, "", false},
    {"EVANS", "Thomas", "19 Cedar Ln", "Riverton", "555-0105", 95.00, 1, "", false},
    {"FOSTER", "Grace", "220 Birch Dr", "Anytown", "555-0106", 615.75, 4, "3", false},
    {"GARCIA", "Luis", "5 Maple Ct", "Millbrook", "555-0107", 0.50, 1, "", false},
    {"HUGHES", "Karen", "88 Willow Way", "Anytown", "555-0108", 1980.00, 2, "", true},
    {"IRWIN", "Paul", "14 Spruce St", "Riverton", "555-0109", 0, 1, "", false},
    {"JOHNSON", "Emily", "630 Lake Rd", "Anytown", "555-0110", 455.20, 5, "99", false},
    {"KIM", "Daniel", "2 Harbor View", "Bayside", "555-0111", 3120.00, 2, "", false},
    {"LOPEZ", "Sofia", "77 Hill St", "Anytown", "555-0112", 72.35, 1, "", false},
    {"MILLER", "James", "410 River Rd", "Riverton", "555-0113", 1500.00, 6, "", false},
    {"NGUYEN", "Lan", "9 Garden Pl", "Anytown", "555-0114", 0, 1, "", false},
    {"OBRIEN", "Sean", "156 Park Ave", "Millbrook", "555-0115", 820.00, 3, "1", false},
    {"PATEL", "Priya", "23 Orchard Ln", "Anytown", "555-0116", 245.60, 2, "", true},
    {"QUINN", "Molly", "81 Bridge St", "Bayside", "555-0117", 1.00, 1, "", false},
    {"RIVERA", "Carlos", "300 Mill Rd", "Anytown", "555-0118", 2210.90, 4, "", false},
    {"SMITH", "John", "44 School St", "Riverton", "555-0119", 130.00, 1, "", false},
    {"SMITH", "Jane", "44 School St", "Riverton", "555-0119", 60.00, 2, "", false},
    {"TAYLOR", "Hannah", "12 Church St", "Anytown", "555-0121", 0, 1, "99", false},
    {"UNDERWOOD", "Frank", "67 Station Rd", "Millbrook", "555-0122", 985.45, 3, "", false},
    {"VARGAS", "Elena", "5 Sunset Blvd", "Bayside", "555-0123", 415.00, 2, "", false},
    {"WALKER", "Chris", "230 Forest Ave", "Anytown", "555-0124", 1745.30, 5, "", false},
    {"XU", "Wei", "18 Market St", "Anytown", "555-0125", 38.80, 1, "", false},
    {"YOUNG", "Olivia", "92 Meadow Ln", "Riverton", "555-0126", 505.00, 2, "", false},
    {"ZIMMER", "Karl", "3 Quarry Rd", "Millbrook", "555-0127", 2600.00, 3, "", false},
    {"ABBOTT", "Ruth", "150 Main St", "Anytown", "555-0128", 12.00, 1, "", false},
    {"BENSON", "Mark", "61 Oak Ave", "Anytown", "555-0129", 720.15, 2, "", false},
    {"CLINE", "Dora", "8 Elm St", "Millbrook", "555-0130", 0, 1, "", false},
};

struct MonthFile {
    std::string code;
    std::vector<std::string> records;
};
} // namespace

QImage demoLogo() {
    // A thin letterhead banner: it prints above the border of circles.
    QImage img(300, 26, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath gem;
    gem.moveTo(6, 9);
    gem.lineTo(12, 3);
    gem.lineTo(24, 3);
    gem.lineTo(30, 9);
    gem.lineTo(18, 23);
    gem.closeSubpath();
    p.setPen(QPen(QColor(20, 40, 110), 1.5));
    p.setBrush(QColor(120, 170, 230));
    p.drawPath(gem);
    p.drawLine(QPointF(6, 9), QPointF(30, 9));
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setPixelSize(17);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(20, 40, 110));
    p.drawText(QRect(38, 0, 262, 26), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("ANYTOWN JEWELERS"));
    return img;
}

void writeDemoStore(QDate today) {
    if (fileExists("cust.dat") || fileExists("Cust.ptn")) throw RunError(err::FileExists, "a store is already here");

    // The last four months, oldest first, each with its own transaction file.
    std::vector<QDate> months;
    for (int k = 4; k >= 1; --k) months.push_back(QDate(today.year(), today.month(), 1).addMonths(-k));
    std::map<std::string, MonthFile> files;
    auto append = [&](QDate date, int acct, const std::string& prevFile, int prevRec, const char* descr, double amount,
                      const char* type, int rating) {
        MonthFile& mf = files[monthCode(date)];
        mf.code = monthCode(date);
        std::string t(transrec::length, ' ');
        storeField(t, transrec::acctno, std::to_string(acct));
        storeField(t, transrec::prevfile, prevFile);
        storeField(t, transrec::prevrec, std::to_string(prevRec));
        storeField(t, transrec::clerk, "DW");
        storeField(t, transrec::invoice, std::to_string(1000 + acct * 7 % 997));
        storeField(t, transrec::descr, descr);
        storeField(t, transrec::amount, formatPicture(Money::fromDouble(amount), "#####.00"));
        storeField(t, transrec::txdate, shortDateText(date));
        storeField(t, transrec::txtype, type);
        storeField(t, transrec::txrating, std::to_string(std::min(rating, 9)));
        mf.records.push_back(t);
        return std::make_pair(mf.code, static_cast<int>(mf.records.size()));
    };

    RecordFile custFile("cust.dat", custrec::length);
    int acct = 0;
    for (const Person& who : people) {
        ++acct;
        std::string lastFile;
        int lastRec = 0;
        // A purchase in the first month, then one event each later month.
        const double price = who.balance > 0 ? who.balance : 150.0 + acct * 11;
        const char* items[] = {"14K gold chain", "Diamond stud earrings", "Watch repair",
                               "Sapphire ring",  "Pearl necklace",        "Ring sizing"};
        for (size_t m = 0; m < months.size(); ++m) {
            const QDate day = months[m].addDays((acct * 3 + static_cast<int>(m) * 5) % 26);
            const char* descr = items[(acct + m) % 6];
            const char* type = who.layaway && m >= 1 ? "~" : "A";
            double amount = price / 2;
            if (m == 1 && !who.layaway) {
                descr = "Payment - thank you";
                type = "P";
                amount = price / 4;
            } else if (m == 2 && who.balance > 1 && !who.layaway) {
                descr = "Interest";
                type = "A";
                amount = std::max(1.0, who.balance * 0.015);
                amount = std::round(amount * 100) / 100;
            } else if (who.layaway && m >= 1) {
                descr = "Layaway payment";
            }
            std::tie(lastFile, lastRec) = append(day, acct, lastFile, lastRec, descr, amount, type, who.rating);
        }
        std::string r(custrec::length, ' ');
        storeField(r, custrec::name1, who.last);
        storeField(r, custrec::name2, who.first);
        storeField(r, custrec::street, who.street);
        storeField(r, custrec::initial, "");
        storeField(r, custrec::city, who.city);
        storeField(r, custrec::state, "ST");
        storeField(r, custrec::zip, std::to_string(12340 + acct % 7));
        storeField(r, custrec::lasttxfile, lastFile);
        storeField(r, custrec::lasttxrec, std::to_string(lastRec));
        storeField(r, custrec::balance, who.balance == 0 ? "0" : generalFormat(who.balance));
        storeField(r, custrec::creditLimit, "3000");
        storeField(r, custrec::phone, who.phone);
        storeField(r, custrec::workPhone, "");
        storeField(r, custrec::opened, "0195");
        storeField(r, custrec::acctno, std::to_string(acct));
        storeField(r, custrec::rating, std::to_string(who.rating));
        storeField(r, custrec::nointerest, who.nointerest);
        custFile.write(acct, r);
    }
    custFile.close();
    store::writeAccountCount(acct);

    for (const auto& [code, mf] : files) {
        RecordFile month(code + ".dat", transrec::length);
        for (size_t i = 0; i < mf.records.size(); ++i) month.write(static_cast<int64_t>(i + 1), mf.records[i]);
        writeLines(code + ".ptn", {str(static_cast<double>(mf.records.size()))});
    }

    // Layout tuned to letter paper: the closing below the border's top on the first page, the
    // signature low on the last, the logo centred above the border.
    writeLines("align.fa1", {"48", "70",  "70", "70", "450", "35", "1000", "40", "1400", "1500", "12400",
                             "60", "100", " ",  " ",  " ",   " ",  " ",    " ",  " ",    " ",    " "});
    writeLines("bordsize.dat", {"50"});
    // The demo store grades on the GIA scales.
    appraise::keepGradeSystem(appraise::GradeSystem::Gia);
    // The signature and the purpose saved as they come, as a store does once; the closing worded for where this
    // layout prints it, at the top of the first page, above the items it speaks of.
    for (const appraise::Insert& passage : appraise::inserts())
        if (std::string(passage.file) == "sigblock.app" || std::string(passage.file) == "purpose.app")
            writeBytes(passage.file, appraise::insertText(passage) + "\r\n"); // as Save writes it
    writeBytes("closing.app",
               "The items described below were graded and identified with a 10X loupe, a binocular microscope with "
               "dark-field illumination, a refractometer, a dichroscope and a micrometer. All values are based on my "
               "best judgement as retail replacement prices. No responsibility is assumed for any action taken on "
               "the basis of this appraisal. This is not an offer to buy.\r\n");
    writeLines("logosize.dat", {"3.5"});
    const QDate lastPosting = months.back().addDays(6);
    store::writeLastPosting(shortDateText(lastPosting), " .015", " 1");
    writeLines("NoIntLW.dat", {"No Interest on Layaways"});
    if (!demoLogo().save(QStringLiteral("anytown1.bmp"), "BMP")) throw RunError(err::DeviceIO, "anytown1.bmp");
}

} // namespace demo
