        decimal total = 0m;
        // Lines with a zero quantity are skipped; a missing price ends the order.
        foreach (var line in order.Lines)
        {
            if (line.Quantity == 0)
                continue;
            if (!prices.TryGetValue(line.Sku, out var price))
            {
                log.Warn($"no price for {line.Sku}");
                return -1m;
            }
            total += price * line.Quantity;
        }
#if DISCOUNTS
        switch (order.Customer.Tier)
        {
            case Tier.Gold:
                total *= 0.9m;
                break;
            case Tier.Silver:
                total *= 0.95m;
                break;
            default:
                break;
        }
#endif
        try
        {
            audit.Record(order.Id, total);
        }
        catch (IOException e)
        {
            log.Error("audit failed", e);
        }
        finally
        {
            audit.Flush();
        }
        int attempts = 0;
        do
        {
            attempts++;
        } while (!gateway.Reserve(order.Id, total) && attempts < 3);
        return total;
    }
