# A ledger of entries, read from lines of text.
class Ledger
  Entry = Struct.new(:date, :amount, :note)

  def load(lines, strict: false)
    entries = []
    attempts = 0
    lines.each_with_index do |line, index|
      next if line.strip.empty? || line.start_with?("#")
      date, amount, note = line.split(";", 3)
      case amount
      when /\A-?\d+\.\d{2}\z/
        value = amount.to_f
      when nil, ""
        raise ArgumentError, "line #{index + 1}: no amount" if strict
        value = 0.0
      else
        warn "line #{index + 1}: #{amount} is no amount"
        redo unless strict
      end
      begin
        entries << Entry.new(Date.parse(date), value, note&.chomp)
      rescue Date::Error => error
        attempts += 1
        retry if attempts < 3
        log(error.message)
      ensure
        attempts = 0
      end
    end
    total = 0
    total += entries.shift.amount until entries.empty?
    return total unless strict
    total.round(2)
  end
end
