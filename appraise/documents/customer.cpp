#include "appraise/documents/customer.h"
#include "common/trim_left_right_mid.h"

#include "common/basic_number.h"
#include "common/record_file.h"
#include "common/text_file.h"

namespace appraise {

using namespace common;

CustomerContext readHandover(const std::string& fileName) {
    CustomerContext c;
    TextReader r(fileName);
    c.custlines[1] = r.readField();
    c.custlines[2] = r.readField();
    c.custlines[3] = r.readField();
    c.custnumber = r.readField();
    if (!r.atEnd()) {
        c.custlines[4] = c.custnumber;
        c.custnumber = r.readField();
    }
    c.custrecordno = clng(val(c.custnumber));
    c.custprefix = customerPrefix(c.custnumber);
    return c;
}

std::string customerPrefix(const std::string& custnumber) {
    return std::string(right("0000" + std::string(trim(str(val(custnumber)))), 5));
}

std::string readCustomerRecord(int32_t recordNo) {
    RecordFile f("cust.dat", appraiseCustRecordLength);
    return f.read(recordNo);
}

} // namespace appraise
