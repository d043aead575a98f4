// ue_save: stores the changed order lines and books the stock
long ll_row, ll_rows, ll_qty, ll_item
integer li_rc, li_tries
string ls_status, ls_msg

ll_rows = dw_lines.RowCount()
IF ll_rows = 0 THEN RETURN 0

IF dw_lines.AcceptText() <> 1 THEN
	MessageBox("Orders", "Please correct the highlighted field.")
	RETURN -1
END IF

FOR ll_row = 1 TO ll_rows
	ls_status = dw_lines.GetItemStatus(ll_row, 0, Primary!)
	IF ls_status = "NotModified!" THEN CONTINUE
	ll_item = dw_lines.GetItemNumber(ll_row, "item_id")
	ll_qty = dw_lines.GetItemNumber(ll_row, "qty")
	CHOOSE CASE dw_lines.GetItemString(ll_row, "kind")
		CASE "S"
			ll_qty = -ll_qty
		CASE "R", "T"
			// returns and transfers keep their sign
		CASE ELSE
			MessageBox("Orders", "Unknown line kind in row " + String(ll_row))
			RETURN -1
	END CHOOSE
	UPDATE stock
	   SET qty = qty + :ll_qty
	 WHERE item_id = :ll_item
	 USING SQLCA;
	IF SQLCA.SQLCode <> 0 THEN
		ls_msg = SQLCA.SQLErrText
		ROLLBACK USING SQLCA;
		MessageBox("Orders", "Stock update failed: " + ls_msg)
		RETURN -1
	ELSEIF SQLCA.SQLNRows = 0 THEN
		INSERT INTO stock (item_id, qty) VALUES (:ll_item, :ll_qty) USING SQLCA;
	END IF
NEXT

li_tries = 0
DO
	li_tries ++
	li_rc = dw_lines.Update(TRUE, FALSE)
	IF li_rc = 1 THEN EXIT
	Yield()
LOOP UNTIL li_tries >= 3

IF li_rc <> 1 THEN
	ROLLBACK USING SQLCA;
	RETURN -1
END IF

TRY
	COMMIT USING SQLCA;
	dw_lines.ResetUpdate()
CATCH (DWRuntimeError lde_err)
	ls_msg = lde_err.GetMessage()
	GOTO failed
END TRY

DO WHILE ib_print_queue
	IF f_print_order(il_order_id) THEN
		ib_print_queue = FALSE
	ELSE
		li_tries = li_tries - 1
		IF li_tries < 0 THEN EXIT
	END IF
LOOP

POST EVENT ue_refresh()
RETURN 1

failed:
MessageBox("Orders", "The order could not be saved: " + ls_msg, StopSign!)
RETURN -1
