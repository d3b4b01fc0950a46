# A small store of eight accounts posted on 12-7-98 (file 1298.dat, new this month).
store_accounts() {
  {
    cust_rec ADAMS Ann "" "0" "1.00" "555-0101" 1 1 ""
    cust_rec BAKER Bob "" "0" ".50" "555-0102" 2 1 ""
    cust_rec CLARK Cy 1198 "1" "200.00" "555-0103" 3 9 ""
    cust_rec DAVIS Di 1198 "3" "150" "555-0104" 4 4 "3"
    cust_rec EVANS Ed 1198 "4" "80" "555-0105" 5 2 "99"
    cust_rec FOX Flo "" "0" "0" "555-0106" 6 1 ""
    cust_rec GRANT Gus 1198 "2" "300" "555-0107" 7 3 ""
    cust_rec HILL Hal 1198 "5" "500" "555-0108" 8 9 "1"
  } > cust.dat
  crlf 8 > Cust.ptn
  month_1198 > 1198.dat
  crlf " 5" > 1198.ptn
  printf 'No Interest on Layaways\r\n' > NoIntLW.dat
}
# November's transactions of the accounts above.
month_1198() {
  {
    trans_rec 3 "" 0 "Ring" "200.00" "11-2-98" A "" 8
    trans_rec 7 "" 0 "Layaway deposit" "50.00" "11-3-98" "~" "" 3
    trans_rec 4 "" 0 "Watch" "150.00" "11-4-98" A "" 4
    trans_rec 5 "" 0 "Chain" "80.00" "11-5-98" A "" 2
    trans_rec 8 "" 0 "Payment" "20.00" "11-6-98" P "" 9
  }
}
