# Two accounts share a phone; ADAMS has two interest charges and a sale between them.
removal_store() {
  {
    cust_rec ADAMS Ann 1298 "3" "100" "555-0101" 1 2 ""
    cust_rec BLANK Bo "" "0" "50" "" 2 1 ""
    cust_rec ADAMS Art 1298 "4" "40" "555-0101" 3 1 ""
    cust_rec CLARK Cy "" "0" "10" "555-0103" 4 1 ""
  } > cust.dat
  crlf 4 > Cust.ptn
  month_1198 > 1198.dat
  month_1298 > 1298.dat
}
month_1198() { trans_rec 1 "" 0 "Interest" "2.50" "11-7-98" A "" 2; }
month_1298() {
  trans_rec 1 1198 1 "Ring" "50.00" "12-1-98" A "" 2
  trans_rec 9 "" 0 "Other" "1.00" "12-1-98" A "" 2
  trans_rec 1 1298 1 "Interest Minimum" "5.00" "12-7-98" A "" 3
  trans_rec 3 "" 0 "Interest" "1.20" "12-7-98" A "" 2
}
