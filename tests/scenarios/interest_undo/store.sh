# Two accounts and a posting already made with the window, the files as they were before it
# kept in before/.
undo_store() {
  {
    cust_rec ADAMS Ann 1198 "1" "100.00" "555-0101" 1 1 ""
    cust_rec BAKER Bo 1198 "2" "50.00" "555-0102" 2 1 ""
  } > cust.dat
  crlf 2 > Cust.ptn
  {
    trans_rec 1 "" 0 "Ring" "100.00" "11-1-98" A "" 1
    trans_rec 2 "" 0 "Watch" "50.00" "11-2-98" A "" 1
  } > 1198.dat
  crlf " 2" > 1198.ptn
  crlf "11-7-98" " .015" " 0" > lastpost.dat
  mkdir before && cp cust.dat 1198.dat 1198.ptn lastpost.dat before/
  printf 'today 12-07-1998\nopen interest\ntype Percentage ".015"\ntype MinFinance "0"\nanswer yes\nclick Start\n' |
    "$UISCRIPT" - > posting.txt 2>/dev/null || true
  grep -q 'Interest posted to 2 accounts' posting.txt || { cat posting.txt; return 1; }
}
