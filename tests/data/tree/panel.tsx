type Props = { rows: string[]; busy?: boolean };

export function Panel({ rows, busy }: Props) {
  if (busy) {
    return <Spinner size="large" />;
  }
  const items = [];
  for (let i = 0; i < rows.length; i++) {
    if (rows[i] === "") break;
    items.push(<li key={i}>{rows[i]}</li>);
  }
  do {
    items.pop();
  } while (items.length > 10);
  return (
    <ul className="rows">
      {items}
    </ul>
  );
}
