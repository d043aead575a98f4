    $total = 0;
    # Items without a price are reported and left out.
    foreach ($cart->items() as $sku => $quantity) {
        if ($quantity <= 0) {
            continue;
        } elseif (!isset($prices[$sku])) {
            error_log("no price for $sku");
            continue;
        } else {
            $total += $prices[$sku] * $quantity;
        }
    }
    switch ($cart->coupon) {
        case "HALF":
            $total = $total / 2;
            break;
        case "TENOFF":
            $total -= 10;
            break;
        default:
            break;
    }
    try {
        $this->ledger->write($cart->id, $total);
    } catch (LedgerException $e) {
        /* the ledger is written again at night */
        $this->queue[] = array($cart->id, $total);
    }
    while ($total < 0) {
        $total = 0;
    }
    return $total;
}
