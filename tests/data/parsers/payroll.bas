REM Weekly payroll for the shop
DIM names$(50), hours(50), rate(50)
OPEN "STAFF.DAT" FOR INPUT AS #1
n = 0
WHILE NOT EOF(1)
    n = n + 1: INPUT #1, names$(n), hours(n), rate(n)
WEND
CLOSE #1
IF n = 0 THEN PRINT "NO STAFF": END
total = 0
FOR i = 1 TO n
    pay = hours(i) * rate(i)
    IF hours(i) > 40 THEN pay = pay + (hours(i) - 40) * rate(i) / 2
    SELECT CASE pay
    CASE IS > 2000
        PRINT names$(i); " CHECK BY HAND"
    CASE 0
        PRINT names$(i); " NO HOURS"
    CASE ELSE
        PRINT names$(i), pay
    END SELECT
    total = total + pay
NEXT i
PRINT "TOTAL", total
DO
    INPUT "PRINT SLIPS (Y/N)"; a$
LOOP UNTIL a$ = "Y" OR a$ = "N"
IF a$ = "N" THEN GOTO Done ELSE PRINT "PRINTING"
FOR i = 1 TO n: GOSUB PrintSlip: NEXT i
DO WHILE printerBusy
    SLEEP 1
LOOP
PRINT "SLIPS DONE"
Done:
PRINT "BYE"
END
