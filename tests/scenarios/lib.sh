# Helpers for scenario set-up and checks: exact bytes, written and compared.

# Text padded with blanks (or cut) to a width.
pad() { printf '%-*.*s' "$2" "$2" "$1"; }
# N NUL bytes.
nuls() { head -c "$1" /dev/zero; }
# Lines ended by CR LF.
crlf() { local l; for l in "$@"; do printf '%s\r\n' "$l"; done; }
# A main program that can be found in the folder (nothing runs under the script).
main_program() { printf '#!/bin/sh\n' > velmaron.exe; chmod +x velmaron.exe; }
# The standard hand-over of customer 12.
handover12() { crlf "Ann Smith" "12 Main St" "\"Anytown, ST 12345\"" "12" > apptrans.dat; }

# Fails unless the file holds exactly these bytes (given as printf format).
expect_bytes() {
  local file=$1 fmt=$2
  if ! cmp -s "$file" <(printf "$fmt"); then
    echo "bytes of $file differ:"; od -c "$file" | head -20; echo "expected:"; printf "$fmt" | od -c | head -20
    return 1
  fi
}
expect_file() { [[ -e $1 ]] || { echo "missing $1"; return 1; }; }
expect_no_file() { [[ ! -e $1 ]] || { echo "unexpected $1"; return 1; }; }
# Fails unless record N (from 1) of length L in the file equals the bytes on standard input.
expect_record() {
  local file=$1 n=$2 len=$3
  if ! cmp -s <(dd if="$file" bs="$len" skip=$((n - 1)) count=1 2>/dev/null) -; then
    echo "record $n of $file differs:"; dd if="$file" bs="$len" skip=$((n - 1)) count=1 2>/dev/null | od -c | head; return 1
  fi
}
# A 2 x 1 pixel 24-bit bitmap standing in for the store logo.
logo_bmp() {
  printf 'BM\x3e\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00\x28\x00\x00\x00\x02\x00\x00\x00\x01\x00\x00\x00\x01\x00\x18\x00\x00\x00\x00\x00\x08\x00\x00\x00\x13\x0b\x00\x00\x13\x0b\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xff\xff\xff\xff\x00\x00' > "${1:-anytown1.bmp}"
}
# A store Appraise starts in without complaint: alignment, border, logo, main program.
appraise_store() {
  crlf 48 70 70 70 450 35 1000 40 2600 35 2300 60 50 " " " " " " " " " " " " " " " " " " > align.fa1
  crlf 50 > bordsize.dat
  logo_bmp
  main_program
}

# An account of "cust.dat" (222 bytes): name1 name2 lasttxfile lasttxrec balance phone acctno
# rating nointerest. The fields Interest does not use hold marker bytes that must survive.
cust_rec() {
  pad "$1" 20; pad "$2" 25
  pad "1 Elm St" 22; printf '\xe9\x00'   # 24
  printf 'Q'                              # 1
  pad "Springfield" 19; printf '\x80'    # 20
  printf 'IL'                             # 2
  printf '6265550100'                     # 10
  pad "$3" 4; pad "$4" 8; pad "$5" 8
  printf '\x01\x02\xff\xfe1234'           # 8
  pad "$6" 12
  printf '217-555-0199'                   # 12
  nuls 6                                  # 6
  printf '19980704'                       # 8
  pad "$7" 5
  printf '5000.00 '                       # 8
  pad "$8" 4; pad "$9" 2
  printf 'abc\x80\x81'                    # 5
  pad "remark with high bytes" 23; printf '\xf1'  # 24
  printf 'ZZZZZZ'                         # 6
}
# A transaction of a month file (94 bytes): acctno prevfile prevrec descr amount txdate txtype
# amount2 txrating, with marker bytes in the main program's fields.
trans_rec() {
  pad "$1" 5; pad "$2" 4; pad "$3" 8
  printf 'abc'; printf '\x00\x01\x02\x03\x04'
  pad "$4" 24; pad "$5" 8
  printf 'xyz'
  pad "$6" 8; pad "$7" 1; pad "$8" 8; pad "$9" 1
  printf 'MAINPROG'; printf '\xe9\xe8\xe7\xe6\xe5'; printf 'Q'; printf '\x00\xff'
}
# An interest transaction as the posting writes it.
interest_rec() { # acctno prevfile prevrec descr amount txdate amount2 txrating
  pad "$1" 5; pad "$2" 4; pad "$3" 8; pad "" 8; pad "$4" 24; pad "$5" 8; pad "" 3
  pad "$6" 8; printf A; pad "$7" 8; pad "$8" 1; pad "" 16
}
# Holds a file locked from another process until release_lock (another computer using it).
hold_lock() {
  "$HOLDLOCK" "$1" < /dev/null > .holdlock.out 2>&1 &
  echo $! > .holdlock.pid
  echo "$1" > .holdlock.file
  for _ in $(seq 100); do grep -q held .holdlock.out 2>/dev/null && return 0; sleep 0.1; done
  echo "could not hold $1"; return 1
}
# Lets go of it; fails unless the holder found the file's bytes as they were when it took it.
release_lock() {
  local pid file ok=0
  pid=$(cat .holdlock.pid) file=$(cat .holdlock.file)
  : > "$file.release"
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  grep -q '^unchanged' .holdlock.out || { echo "holder of $file: $(tail -1 .holdlock.out)"; ok=1; }
  rm -f .holdlock.out .holdlock.pid .holdlock.file "$file.release"
  return $ok
}
