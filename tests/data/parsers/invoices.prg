* Prints the open invoices of one customer and ages them.
LPARAMETERS tcCustomer, tdCutoff
LOCAL lnTotal, lnOverdue, lnDays, lcLine, llFirst
lnTotal = 0
lnOverdue = 0
llFirst = .T.

IF EMPTY(tdCutoff)
    tdCutoff = DATE()
ENDIF

IF !USED("invoices")
    USE invoices IN 0 SHARED
ENDIF
SELECT invoices
SET ORDER TO TAG customer

IF !SEEK(tcCustomer)
    MESSAGEBOX("No invoices for " + tcCustomer, 48, "Ageing")
    RETURN 0
ENDIF

SCAN WHILE invoices.customer = tcCustomer
    IF invoices.paid
        LOOP
    ENDIF
    lnDays = tdCutoff - invoices.duedate
    DO CASE
    CASE lnDays <= 0
        lcLine = "current"
    CASE lnDays <= 30
        lcLine = "1-30 days"
    CASE lnDays <= 90
        lcLine = "31-90 days"
        lnOverdue = lnOverdue + invoices.amount
    OTHERWISE
        lcLine = "over 90 days"
        lnOverdue = lnOverdue + invoices.amount
        IF invoices.amount > 10000
            DO flag_account WITH tcCustomer, invoices.number
        ENDIF
    ENDCASE
    IF llFirst
        ? "Invoice   Due        Amount   Age"
        llFirst = .F.
    ENDIF
    ? invoices.number, invoices.duedate, ;
      invoices.amount, lcLine   && one line per invoice
    lnTotal = lnTotal + invoices.amount
ENDSCAN

FOR lnDays = 1 TO 3
    IF lnOverdue * lnDays > lnTotal
        EXIT
    ENDIF
    WAIT WINDOW "Checking reminder level " + STR(lnDays) NOWAIT
ENDFOR

DO WHILE .T.
    IF MESSAGEBOX("Print the statement?", 4 + 32, "Ageing") = 7
        EXIT
    ENDIF
    REPORT FORM statement TO PRINTER PROMPT
    EXIT
ENDDO

RETURN lnTotal
